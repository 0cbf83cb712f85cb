// Sockets through the bridge on 127.0.0.1 (ports the host picks): a UDP
// round trip with the kinds the transfers take, and a send to a closed peer
// failing instead of raising SIGPIPE (a TCP conversation is the echo
// examples' test).
#include <arpa/inet.h>
#include <sys/socket.h>

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

// A text's bytes from its "[", a blob's payload, an address; the length
// always the program's own.
TEST_F(BridgeSockets, UdpRoundTrip) {
  sockaddr_in a, b, from{};
  socklen_t from_length = 16;
  int fa = Bound(SOCK_DGRAM, &a), fb = Bound(SOCK_DGRAM, &b);
  EXPECT_EQ(Ans("sendto", Fd(fa), L("[ping]"), L("5"), L("0"), Addr(&b), L("16")), "5");
  char got[8] = {};
  EXPECT_EQ(Ans("recvfrom", Fd(fb), Addr(got), L("8"), L("0"), Addr(&from), Addr(&from_length)), "5");
  EXPECT_STREQ(got, "[ping");
  EXPECT_EQ(from.sin_port, a.sin_port);
  EXPECT_EQ(Ans("sendto", Fd(fb), Blob("xyz"), L("2"), L("0"), Addr(&from), L("16")), "2");
  EXPECT_EQ(Ans("sendto", Fd(fb), Addr("pong"), L("4"), L("0"), Addr(&from), L("16")), "4");
  EXPECT_EQ(Ans("recvfrom", Fd(fa), Addr(got), L("8"), L("0"), L("0"), L("0")), "2");
  EXPECT_EQ(Ans("recvfrom", Fd(fa), Addr(got + 2), L("6"), L("0"), L("0"), L("0")), "4");
  EXPECT_EQ(std::string(got, 6), "xypong");
  EXPECT_EQ(Ans("recv", Fd(fa), L("[buffer]"), L("1"), L("0")), "Z");  // never into a text
  close(fa);
  close(fb);
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
