// The browser's forms of the host calls of host.h: a host without a network
// stack, a name service or a command processor. Compiled into the
// WebAssembly build only.
#if defined(__EMSCRIPTEN__)

#include <cerrno>

#include "bridge/platform/host.h"

namespace mox::host {

namespace {

int NoNetwork() {
  errno = ENOSYS;
  return -1;
}

}  // namespace

int socket(int, int, int) { return NoNetwork(); }
int bind(int, const sockaddr*, socklen_t) { return NoNetwork(); }
int connect(int, const sockaddr*, socklen_t) { return NoNetwork(); }
int listen(int, int) { return NoNetwork(); }
int accept(int, sockaddr*, socklen_t*) { return NoNetwork(); }
int getpeername(int, sockaddr*, socklen_t*) { return NoNetwork(); }
int shutdown(int, int) { return NoNetwork(); }
int setsockopt(int, int, int, const void*, socklen_t) { return NoNetwork(); }
ssize_t send(int, const void*, size_t, int) { return NoNetwork(); }
ssize_t sendto(int, const void*, size_t, int, const sockaddr*, socklen_t) { return NoNetwork(); }
ssize_t recv(int, void*, size_t, int) { return NoNetwork(); }
ssize_t recvfrom(int, void*, size_t, int, sockaddr*, socklen_t*) { return NoNetwork(); }

int getaddrinfo(const char*, const char*, const addrinfo*, addrinfo**) { return EAI_FAIL; }
void freeaddrinfo(addrinfo*) {}
int getnameinfo(const sockaddr*, socklen_t, char*, socklen_t, char*, socklen_t, int) { return EAI_FAIL; }

int system(const char* command) {
  if (command == nullptr) return 0;
  errno = ENOSYS;
  return -1;
}

}  // namespace mox::host

#endif
