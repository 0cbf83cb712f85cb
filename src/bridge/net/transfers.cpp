// The members that move bytes over sockets: send and sendto, whose buffer is
// an address (an integer, or the bytes of a bracketed text from its "[", or
// of a blob), and recv and recvfrom into memory at an integer address. The
// length is always the one the program gives, never taken from the value.
//
// Sending on a connection the peer has closed answers -1 with errno EPIPE:
// the sends ask the host not to raise SIGPIPE, which would end the
// interpreter instead of giving the program the failure value.
#include <sys/socket.h>

#include "bridge/c_function.h"
#include "bridge/families.h"
#include "bridge/platform/host.h"

namespace mox {

namespace {

ssize_t Send(int fd, const void* buffer, size_t length, int flags) {
  return host::send(fd, buffer, length, flags | MSG_NOSIGNAL);
}

ssize_t SendTo(int fd, const void* buffer, size_t length, int flags, const sockaddr* to, socklen_t to_length) {
  return host::sendto(fd, buffer, length, flags | MSG_NOSIGNAL, to, to_length);
}

constexpr BuiltinBinding kTransfers[] = {
    CFunction<Send, Number(Integer, Address, Integer, Integer)>("send"),
    CFunction<SendTo, Number(Integer, Address, Integer, Integer, Integer, Integer)>("sendto"),
    CFunction<host::recv, Number(Integer, Integer, Integer, Integer)>("recv"),
    CFunction<host::recvfrom, Number(Integer, Integer, Integer, Integer, Integer, Integer)>("recvfrom"),
};

}  // namespace

BuiltinFamily TransferBuiltins() { return kTransfers; }

}  // namespace mox
