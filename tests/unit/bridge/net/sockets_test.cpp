// Sockets through the bridge on 127.0.0.1 (a port the host picks): a send,
// a write or a stream's flush to a closed peer fails instead of raising
// SIGPIPE, lengths are C ints, closesocket closes sockets only, IPv6 sockets
// carry IPv6 only, and no text is a receive buffer (a whole TCP conversation
// is the echo examples' test).
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeSockets = Bridge;

CellRef Fd(int fd) { return MakeInt64(fd); }

// A bridge TCP socket bound to 127.0.0.1, its address in *at.
int Bound(sockaddr_in* at) {
  *at = sockaddr_in{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
  int fd = static_cast<int>(Num(Call("socket", L("2"), L("1"), L("0"))));
  EXPECT_EQ(Ans("bind", Fd(fd), Addr(at), L("16")), "0");
  socklen_t n = sizeof *at;
  getsockname(fd, reinterpret_cast<sockaddr*>(at), &n);
  return fd;
}

// A connected pair: *client made by the bridge, *server accepted by the test.
void Connect(int* listener, int* client, int* server) {
  sockaddr_in at;
  *listener = Bound(&at);
  listen(*listener, 1);
  *client = static_cast<int>(Num(Call("socket", L("2"), L("1"), L("0"))));
  ASSERT_EQ(Ans("connect", Fd(*client), Addr(&at), L("16")), "0");
  *server = accept(*listener, nullptr, nullptr);
}

TEST_F(BridgeSockets, SendingToAClosedPeerFailsWithoutASignal) {
  for (const char* member : {"send", "write"}) {
    int listener, client, server;
    Connect(&listener, &client, &server);
    close(server);
    // The first sends may still be taken; the peer's reset fails a later one.
    std::string last;
    for (int i = 0; i < 50 && last != "01"; ++i) {
      last = member[0] == 's' ? Ans("send", Fd(client), L("[data]"), L("6"), L("0"))
                              : Ans("write", Fd(client), L("[data]"), L("6"));
    }
    EXPECT_EQ(last, "01") << member;
    EXPECT_EQ(Ans("recv", Fd(client), L("[buffer]"), L("1"), L("0")), "Z");  // never into a text
    EXPECT_EQ(Ans("closesocket", Fd(client)), "0");
    close(listener);
  }
}

// A stream fdopen makes on a socket reads what the peer sent, names the
// socket as its descriptor, fails its flushes once the peer has gone
// (where C's own stream would raise SIGPIPE), and closes the socket.
TEST_F(BridgeSockets, SocketStreamsFailWithoutASignal) {
  int listener, client, server;
  Connect(&listener, &client, &server);
  CellRef f = Call("fdopen", Fd(client), Addr("r+"));
  ASSERT_NE(Num(f), 0);
  EXPECT_EQ(Num(Call("fileno", f.Copy())), client);
  ASSERT_EQ(write(server, "line\n", 5), 5);
  char line[8] = {};
  EXPECT_EQ(Num(Call("fgets", Addr(line), L("8"), f.Copy())), Num(Addr(line)));
  EXPECT_STREQ(line, "line\n");
  EXPECT_EQ(Ans("ftell", f.Copy()), "01");
  Call("fputs", Addr("reply"), f.Copy());
  EXPECT_EQ(Ans("fflush", f.Copy()), "0");
  char reply[8] = {};
  EXPECT_EQ(read(server, reply, sizeof reply), 5);
  EXPECT_STREQ(reply, "reply");
  close(server);
  std::string flushed;
  for (int i = 0; i < 50 && flushed != "01"; ++i) {
    Call("fputs", Addr("data"), f.Copy());
    flushed = Ans("fflush", f.Copy());
  }
  EXPECT_EQ(flushed, "01");
  EXPECT_EQ(Ans("ferror", f.Copy()), "1");
  Call("fputs", Addr("left in the buffer"), f.Copy());
  EXPECT_EQ(Ans("fclose", f.Copy()), "01");  // its last flush fails too, and the socket is closed
  EXPECT_EQ(fcntl(client, F_GETFD), -1);
  close(listener);
}

// A negative length (or one of 2^31 or more, negative as a C int) is refused
// before any byte is read or written.
TEST_F(BridgeSockets, NegativeLengthsAreRefused) {
  int listener, client, server;
  Connect(&listener, &client, &server);
  char buffer[16] = "untouched";
  ASSERT_EQ(write(server, "abc", 3), 3);
  for (const char* length : {"01", "2147483648"}) {
    EXPECT_EQ(Ans("send", Fd(client), L("[data]"), L(length), L("0")), "01");
    EXPECT_EQ(Ans("errno"), "22");
    EXPECT_EQ(Ans("recv", Fd(client), Addr(buffer), L(length), L("0")), "01");
    EXPECT_EQ(Ans("recvfrom", Fd(client), Addr(buffer), L(length), L("0"), L("0"), L("0")), "01");
    EXPECT_EQ(Ans("gethostname", Addr(buffer), L(length)), "01");
  }
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(Ans("recv", Fd(client), Addr(buffer), L("3"), L("0")), "3");
  close(server);
  close(client);
  close(listener);
}

TEST_F(BridgeSockets, CloseSocketLeavesOtherDescriptorsOpen) {
  int fd = open("/dev/null", O_WRONLY);
  EXPECT_EQ(Ans("closesocket", Fd(fd)), "01");
  EXPECT_EQ(Ans("errno"), std::to_string(ENOTSOCK));
  EXPECT_EQ(write(fd, "x", 1), 1);
  close(fd);
  EXPECT_EQ(Ans("closesocket", Fd(fd)), "01");
  EXPECT_EQ(Ans("errno"), "9");
}

TEST_F(BridgeSockets, IPv6SocketsCarryIPv6Only) {
  int fd = static_cast<int>(Num(Call("socket", MakeInt64(AF_INET6), L("1"), L("0"))));
  if (fd < 0) GTEST_SKIP() << "no IPv6 here";
  int only = 0;
  socklen_t n = sizeof only;
  ASSERT_EQ(getsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &only, &n), 0);
  EXPECT_EQ(only, 1);
  close(fd);
}

}  // namespace
}  // namespace mox::builtin_test
