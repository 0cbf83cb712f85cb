// Sockets through the bridge on 127.0.0.1 (a port the host picks): a send to
// a closed peer fails instead of raising SIGPIPE, and no text is a receive
// buffer (a whole TCP conversation is the echo examples' test).
#include <arpa/inet.h>
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

TEST_F(BridgeSockets, SendingToAClosedPeerFailsWithoutASignal) {
  sockaddr_in server;
  int listener = Bound(&server);
  listen(listener, 1);
  int client = static_cast<int>(Num(Call("socket", L("2"), L("1"), L("0"))));
  ASSERT_EQ(Ans("connect", Fd(client), Addr(&server), L("16")), "0");
  close(accept(listener, nullptr, nullptr));
  // The first sends may still be taken; the peer's reset fails a later one.
  std::string last;
  for (int i = 0; i < 50 && last != "01"; ++i) last = Ans("send", Fd(client), L("[data]"), L("6"), L("0"));
  EXPECT_EQ(last, "01");
  EXPECT_EQ(Ans("recv", Fd(client), L("[buffer]"), L("1"), L("0")), "Z");  // never into a text
  close(client);
  close(listener);
}

}  // namespace
}  // namespace mox::builtin_test
