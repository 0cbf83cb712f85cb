// Sockets through the bridge on the loopback interface: a TCP connection and
// a UDP exchange with the kinds each member takes, and the host's failure
// values for closed descriptors, refused connections and closed peers.
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "bridge/net/loopback.h"

namespace mox::builtin_test {
namespace {

using BridgeSockets = Bridge;

TEST_F(BridgeSockets, TcpConnectionCarriesTextsBlobsAndMemory) {
  sockaddr_in server;
  int listener = BoundLoopback(SOCK_STREAM, &server);
  EXPECT_EQ(Ans("listen", Fd(listener), L("4")), "0");
  int client = static_cast<int>(Num(Call("socket", L("2"), Call("sock_stream"), L("0"))));
  EXPECT_EQ(Ans("connect", Fd(client), Addr(&server), Size(sizeof server)), "0");

  sockaddr_in peer{};
  socklen_t peer_length = sizeof peer;
  int accepted = static_cast<int>(Num(Call("accept", Fd(listener), Addr(&peer), Addr(&peer_length))));
  ASSERT_GE(accepted, 0);
  EXPECT_EQ(peer.sin_addr.s_addr, htonl(INADDR_LOOPBACK));
  sockaddr_in named{};
  socklen_t named_length = sizeof named;
  EXPECT_EQ(Ans("getpeername", Fd(accepted), Addr(&named), Addr(&named_length)), "0");
  EXPECT_EQ(named.sin_port, peer.sin_port);

  // The program's length decides: a text from its "[", a blob's payload.
  EXPECT_EQ(Ans("send", Fd(client), L("[ab]"), L("3"), L("0")), "3");
  EXPECT_EQ(Ans("send", Fd(client), Blob("xyz"), L("2"), L("0")), "2");
  const char raw[] = "!";
  EXPECT_EQ(Ans("send", Fd(client), Addr(raw), L("1"), L("0")), "1");
  EXPECT_EQ(Ans("shutdown", Fd(client), MakeInt64(SHUT_WR)), "0");
  char got[16] = {};
  size_t total = 0;
  for (int i = 0; i < 8 && total < 6; ++i) {
    int64_t n = Num(Call("recv", Fd(accepted), Addr(got + total), Size(sizeof got - 1 - total), L("0")));
    ASSERT_GT(n, 0);
    total += static_cast<size_t>(n);
  }
  EXPECT_STREQ(got, "[abxy!");
  EXPECT_EQ(Ans("recv", Fd(accepted), Addr(got), Size(sizeof got), L("0")), "0");  // the peer's end

  EXPECT_EQ(Ans("closesocket", Fd(accepted)), "0");
  EXPECT_EQ(Ans("closesocket", Fd(client)), "0");
  EXPECT_EQ(Ans("closesocket", Fd(listener)), "0");
}

TEST_F(BridgeSockets, UdpDatagramsAndTheirSource) {
  sockaddr_in a, b;
  int fa = BoundLoopback(SOCK_DGRAM, &a);
  int fb = BoundLoopback(SOCK_DGRAM, &b);
  EXPECT_EQ(Ans("sendto", Fd(fa), L("[ping]"), L("6"), L("0"), Addr(&b), Size(sizeof b)), "6");
  char got[16] = {};
  sockaddr_in from{};
  socklen_t from_length = sizeof from;
  EXPECT_EQ(Ans("recvfrom", Fd(fb), Addr(got), Size(sizeof got), L("0"), Addr(&from), Addr(&from_length)), "6");
  EXPECT_STREQ(got, "[ping]");
  EXPECT_EQ(from.sin_port, a.sin_port);
  EXPECT_EQ(Ans("sendto", Fd(fb), Blob("pong"), L("4"), L("0"), Addr(&from), Size(from_length)), "4");
  EXPECT_EQ(Ans("recvfrom", Fd(fa), Addr(got), Size(sizeof got), L("0"), L("0"), L("0")), "4");
  EXPECT_EQ(std::string(got, 4), "pong");
  close(fa);
  close(fb);
}

TEST_F(BridgeSockets, WrongKindsMakeNoCall) {
  EXPECT_EQ(Ans("socket", L("[2]"), L("1"), L("0")), "Z");
  EXPECT_EQ(Ans("send", L("0"), Real(1.0), L("1"), L("0")), "Z");  // no address kind
  EXPECT_EQ(Ans("recv", L("0"), L("[buffer]"), L("1"), L("0")), "Z");  // integers only here
  EXPECT_EQ(Ans("sendto", L("0"), L("[x]"), L("1"), L("0"), L("[to]"), L("16")), "Z");
  EXPECT_EQ(Ans("setsockopt", L("0"), L("1"), L("2"), Blob("1234"), L("4")), "Z");
}

TEST_F(BridgeSockets, FailuresAreTheHostsValues) {
  sockaddr_in unused;
  int fd = BoundLoopback(SOCK_STREAM, &unused);
  close(fd);  // the port is free again and nobody listens on it
  int client = static_cast<int>(Num(Call("socket", L("2"), L("1"), L("0"))));
  EXPECT_EQ(Ans("connect", Fd(client), Addr(&unused), Size(sizeof unused)), "01");
  EXPECT_EQ(Num(Call("errno")), ECONNREFUSED);
  EXPECT_EQ(Ans("closesocket", Fd(client)), "0");
  EXPECT_EQ(Ans("send", Fd(client), L("[x]"), L("3"), L("0")), "01");
  EXPECT_EQ(Ans("errno"), Ans("ebadf"));
  EXPECT_EQ(Ans("listen", Fd(client), L("1")), "01");
  EXPECT_EQ(Ans("socket", L("12345"), L("1"), L("0")), "01");
}

TEST_F(BridgeSockets, SendingToAClosedPeerFailsWithoutASignal) {
  sockaddr_in server;
  int listener = BoundLoopback(SOCK_STREAM, &server);
  listen(listener, 1);
  int client = static_cast<int>(Num(Call("socket", L("2"), L("1"), L("0"))));
  ASSERT_EQ(Ans("connect", Fd(client), Addr(&server), Size(sizeof server)), "0");
  close(accept(listener, nullptr, nullptr));
  // The first send may still be taken; the peer's reset then fails a later one.
  std::string last;
  for (int i = 0; i < 50 && last != "01"; ++i) last = Ans("send", Fd(client), L("[data]"), L("6"), L("0"));
  EXPECT_EQ(last, "01");
  EXPECT_TRUE(Num(Call("errno")) == EPIPE || Num(Call("errno")) == ECONNRESET);
  close(client);
  close(listener);
}

TEST_F(BridgeSockets, OptionsAndHostName) {
  int fd = static_cast<int>(Num(Call("socket", L("2"), L("1"), L("0"))));
  int on = 1;
  EXPECT_EQ(Ans("setsockopt", Fd(fd), MakeInt64(SOL_SOCKET), MakeInt64(SO_REUSEADDR), Addr(&on), Size(sizeof on)), "0");
  int value = 0;
  socklen_t n = sizeof value;
  getsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &value, &n);
  EXPECT_NE(value, 0);
  close(fd);

  char name[256] = {}, expected[256] = {};
  EXPECT_EQ(Ans("gethostname", Addr(name), Size(sizeof name)), "0");
  gethostname(expected, sizeof expected);
  EXPECT_STREQ(name, expected);
}

}  // namespace
}  // namespace mox::builtin_test
