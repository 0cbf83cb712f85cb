// The members that move bytes over sockets: send and sendto, whose buffer is
// an address (an integer, or the bytes of a bracketed text from its "[", or
// of a blob), and recv and recvfrom into memory at an integer address. The
// length is always the one the program gives, never taken from the value.
//
// Sending on a connection the peer has closed answers -1 with errno EPIPE:
// the sends ask the host not to raise SIGPIPE, which would end the
// interpreter instead of giving the program the failure value.
//
// Lengths are C ints, as in the socket interface programs are written
// against: a negative length (a failed recv's -1 passed on, say) is refused
// with -1 and errno EINVAL, where the host's unsigned length would read it as
// a count of 2^64 - 1 bytes and run far past the buffer.
#include <sys/socket.h>

#include <cerrno>

#include "bridge/c_function.h"
#include "bridge/families.h"
#include "bridge/platform/host.h"

namespace mox {

namespace {

bool Refused(int length) {
  if (length >= 0) return false;
  errno = EINVAL;
  return true;
}

ssize_t Send(int fd, const void* buffer, int length, int flags) {
  if (Refused(length)) return -1;
  return host::send(fd, buffer, static_cast<size_t>(length), flags | MSG_NOSIGNAL);
}

ssize_t SendTo(int fd, const void* buffer, int length, int flags, const sockaddr* to, socklen_t to_length) {
  if (Refused(length)) return -1;
  return host::sendto(fd, buffer, static_cast<size_t>(length), flags | MSG_NOSIGNAL, to, to_length);
}

ssize_t Receive(int fd, void* buffer, int length, int flags) {
  if (Refused(length)) return -1;
  return host::recv(fd, buffer, static_cast<size_t>(length), flags);
}

ssize_t ReceiveFrom(int fd, void* buffer, int length, int flags, sockaddr* from, socklen_t* from_length) {
  if (Refused(length)) return -1;
  return host::recvfrom(fd, buffer, static_cast<size_t>(length), flags, from, from_length);
}

constexpr BuiltinBinding kTransfers[] = {
    CFunction<Send, Number(Integer, Address, Integer, Integer)>("send"),
    CFunction<SendTo, Number(Integer, Address, Integer, Integer, Integer, Integer)>("sendto"),
    CFunction<Receive, Number(Integer, Integer, Integer, Integer)>("recv"),
    CFunction<ReceiveFrom, Number(Integer, Integer, Integer, Integer, Integer, Integer)>("recvfrom"),
};

}  // namespace

BuiltinFamily TransferBuiltins() { return kTransfers; }

}  // namespace mox
