// Sockets through the bridge on 127.0.0.1 (ports the host picks): TCP and
// UDP round trips with the kinds each member takes, and the host's failure
// values for a refused connection, a closed descriptor and a closed peer.
#include <arpa/inet.h>
#include <sys/socket.h>

#include <cerrno>

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeSockets = Bridge;

CellRef Fd(int fd) { return MakeInt64(fd); }

// A bridge socket of `type` bound to 127.0.0.1, its address in *at.
int Bound(int type, sockaddr_in* at) {
  *at = sockaddr_in{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
  int fd = static_cast<int>(Num(Call("socket", L("2"), MakeInt64(type), L("0"))));
  EXPECT_EQ(Ans("bind", Fd(fd), Addr(at), L("16")), "0");
  socklen_t n = sizeof *at;
  getsockname(fd, reinterpret_cast<sockaddr*>(at), &n);
  return fd;
}

TEST_F(BridgeSockets, TcpRoundTrip) {
  sockaddr_in server, peer{}, named{};
  socklen_t peer_length = 16, named_length = 16;
  int listener = Bound(SOCK_STREAM, &server);
  EXPECT_EQ(Ans("listen", Fd(listener), L("4")), "0");
  int client = static_cast<int>(Num(Call("socket", L("2"), Call("sock_stream"), L("0"))));
  EXPECT_EQ(Ans("connect", Fd(client), Addr(&server), L("16")), "0");
  int accepted = static_cast<int>(Num(Call("accept", Fd(listener), Addr(&peer), Addr(&peer_length))));
  EXPECT_EQ(Ans("getpeername", Fd(accepted), Addr(&named), Addr(&named_length)), "0");
  EXPECT_EQ(named.sin_port, peer.sin_port);
  // A text's bytes from its "[", a blob's payload; the program's length.
  EXPECT_EQ(Ans("send", Fd(client), L("[ab]"), L("3"), L("0")), "3");
  EXPECT_EQ(Ans("send", Fd(client), Blob("xyz"), L("2"), L("0")), "2");
  EXPECT_EQ(Ans("shutdown", Fd(client), L("1")), "0");
  char got[8] = {};
  for (size_t total = 0, i = 0; total < 5 && i < 5; ++i)
    total += static_cast<size_t>(Num(Call("recv", Fd(accepted), Addr(got + total), L("7"), L("0"))));
  EXPECT_STREQ(got, "[abxy");
  EXPECT_EQ(Ans("recv", Fd(accepted), Addr(got), L("7"), L("0")), "0");
  for (int fd : {accepted, client, listener}) EXPECT_EQ(Ans("closesocket", Fd(fd)), "0");
}

TEST_F(BridgeSockets, UdpRoundTrip) {
  sockaddr_in a, b, from{};
  socklen_t from_length = 16;
  int fa = Bound(SOCK_DGRAM, &a), fb = Bound(SOCK_DGRAM, &b);
  EXPECT_EQ(Ans("sendto", Fd(fa), L("[ping]"), L("6"), L("0"), Addr(&b), L("16")), "6");
  char got[8] = {};
  EXPECT_EQ(Ans("recvfrom", Fd(fb), Addr(got), L("8"), L("0"), Addr(&from), Addr(&from_length)), "6");
  EXPECT_STREQ(got, "[ping]");
  EXPECT_EQ(from.sin_port, a.sin_port);
  EXPECT_EQ(Ans("sendto", Fd(fb), Addr("pong"), L("4"), L("0"), Addr(&from), L("16")), "4");
  EXPECT_EQ(Ans("recvfrom", Fd(fa), Addr(got), L("8"), L("0"), L("0"), L("0")), "4");
  EXPECT_EQ(std::string(got, 4), "pong");
  close(fa);
  close(fb);
}

TEST_F(BridgeSockets, WrongKindsAndHostFailures) {
  EXPECT_EQ(Ans("socket", L("[2]"), L("1"), L("0")), "Z");
  EXPECT_EQ(Ans("send", L("0"), Real(1.0), L("1"), L("0")), "Z");
  EXPECT_EQ(Ans("recv", L("0"), L("[buffer]"), L("1"), L("0")), "Z");  // integers only there
  sockaddr_in nobody;
  close(Bound(SOCK_STREAM, &nobody));  // a free port nobody listens on
  int fd = static_cast<int>(Num(Call("socket", L("2"), L("1"), L("0"))));
  EXPECT_EQ(Ans("connect", Fd(fd), Addr(&nobody), L("16")), "01");
  EXPECT_EQ(Num(Call("errno")), ECONNREFUSED);
  EXPECT_EQ(Ans("closesocket", Fd(fd)), "0");
  EXPECT_EQ(Ans("send", Fd(fd), L("[x]"), L("3"), L("0")), "01");
  EXPECT_EQ(Ans("errno"), Ans("ebadf"));
}

TEST_F(BridgeSockets, SendingToAClosedPeerFailsWithoutASignal) {
  sockaddr_in server;
  int listener = Bound(SOCK_STREAM, &server);
  listen(listener, 1);
  int client = static_cast<int>(Num(Call("socket", L("2"), L("1"), L("0"))));
  ASSERT_EQ(Ans("connect", Fd(client), Addr(&server), L("16")), "0");
  close(accept(listener, nullptr, nullptr));
  // The first sends may still be taken; the peer's reset fails a later one.
  std::string last;
  for (int i = 0; i < 50 && last != "01"; ++i) last = Ans("send", Fd(client), L("[data]"), L("6"), L("0"));
  EXPECT_EQ(last, "01");
  close(client);
  close(listener);
}

}  // namespace
}  // namespace mox::builtin_test
