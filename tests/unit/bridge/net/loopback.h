// Helpers for the socket tests: IPv4 loopback addresses with the port the
// host picked, so that no test depends on a fixed port.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {

inline sockaddr_in Loopback(uint16_t port = 0) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

inline CellRef Fd(int fd) { return MakeInt64(fd); }
inline CellRef Size(size_t n) { return MakeInt64(static_cast<int64_t>(n)); }

// A socket of `type` made through the bridge and bound to 127.0.0.1 on a
// port the host chose; its address (with that port) in *bound.
inline int BoundLoopback(int type, sockaddr_in* bound) {
  int fd = static_cast<int>(Num(Call("socket", L("2"), MakeInt64(type), L("0"))));
  EXPECT_GE(fd, 0);
  *bound = Loopback();
  EXPECT_EQ(Ans("bind", Fd(fd), Addr(bound), Size(sizeof *bound)), "0");
  socklen_t n = sizeof *bound;
  getsockname(fd, reinterpret_cast<sockaddr*>(bound), &n);
  return fd;
}

}  // namespace mox::builtin_test
