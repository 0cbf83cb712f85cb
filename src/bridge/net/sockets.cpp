// The members for socket descriptors: making, naming, connecting, listening,
// accepting, options and shutting down, and the host's name. Descriptors,
// socket addresses and lengths are plain integers and addresses; the numbers
// of families, types, levels and options are the host's own, passed through.
// Failures are the host's values (-1, with errno set), answered as numbers.
//
// Two differences from the host's calls, so that servers written for the
// socket interface programs expect behave the same here:
// - An IPv6 socket carries IPv6 only. A host that lets it take the IPv4
//   traffic of its port too makes the second bind of the usual loop over a
//   passive getaddrinfo list fail (EADDRINUSE); a program that wants both
//   can still clear IPV6_V6ONLY with setsockopt.
// - gethostname's length is a C int: a negative one is refused (-1, EINVAL).
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "bridge/c_function.h"
#include "bridge/families.h"
#include "bridge/platform/host.h"

namespace mox {

namespace {

int Socket(int domain, int type, int protocol) {
  int fd = host::socket(domain, type, protocol);
  if (fd >= 0 && domain == AF_INET6) {
    int on = 1;
    host::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
  }
  return fd;
}

int GetHostName(char* buffer, int length) {
  if (length < 0) {
    errno = EINVAL;
    return -1;
  }
  return ::gethostname(buffer, static_cast<size_t>(length));
}

constexpr BuiltinBinding kSockets[] = {
    CFunction<Socket, Number(Integer, Integer, Integer)>("socket"),
    CFunction<host::bind, Number(Integer, Integer, Integer)>("bind"),
    CFunction<host::connect, Number(Integer, Integer, Integer)>("connect"),
    CFunction<host::listen, Number(Integer, Integer)>("listen"),
    CFunction<host::accept, Number(Integer, Integer, Integer)>("accept"),
    CFunction<host::getpeername, Number(Integer, Integer, Integer)>("getpeername"),
    CFunction<host::shutdown, Number(Integer, Integer)>("shutdown"),
    CFunction<host::setsockopt, Number(Integer, Integer, Integer, Integer, Integer)>("setsockopt"),
    CFunction<GetHostName, Number(Integer, Integer)>("gethostname"),
};

}  // namespace

BuiltinFamily SocketBuiltins() { return kSockets; }

}  // namespace mox
