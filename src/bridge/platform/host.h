// The host calls that differ between the console build and the browser
// build (32-bit WebAssembly, run in a Web Worker). The bridge binds these
// names rather than the C library's, so that its tables are the same on
// both.
//
// On a native host they are the C library's own functions. The browser has
// no network stack, no name service and no command processor; there the
// members answer as the C calls fail on a host without them
// (browser.cpp), and never reach the emulations of the WebAssembly C
// library, which would invent addresses and open WebSockets:
//   - the socket calls and transfers: -1 with errno ENOSYS, as on a kernel
//     built without networking;
//   - getaddrinfo and getnameinfo: EAI_FAIL, a non-recoverable failure of
//     name resolution; freeaddrinfo never meets a host list;
//   - system: 0 for a null command (no command processor is available),
//     else -1 with errno ENOSYS.
// gethostname, the address texts (inet_pton, inet_ntop) and everything of
// the file system work there: files live in the worker's memory for the
// length of one run.
#pragma once

#include <netdb.h>
#include <sys/socket.h>
#include <sys/types.h>

#include <cstdlib>

namespace mox::host {

#if defined(__EMSCRIPTEN__)

int socket(int domain, int type, int protocol);
int bind(int fd, const sockaddr* address, socklen_t length);
int connect(int fd, const sockaddr* address, socklen_t length);
int listen(int fd, int backlog);
int accept(int fd, sockaddr* address, socklen_t* length);
int getpeername(int fd, sockaddr* address, socklen_t* length);
int shutdown(int fd, int how);
int setsockopt(int fd, int level, int name, const void* value, socklen_t length);
ssize_t send(int fd, const void* buffer, size_t length, int flags);
ssize_t sendto(int fd, const void* buffer, size_t length, int flags, const sockaddr* to, socklen_t to_length);
ssize_t recv(int fd, void* buffer, size_t length, int flags);
ssize_t recvfrom(int fd, void* buffer, size_t length, int flags, sockaddr* from, socklen_t* from_length);
int getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** result);
void freeaddrinfo(addrinfo* list);
int getnameinfo(const sockaddr* address, socklen_t length, char* host, socklen_t host_length, char* service,
                socklen_t service_length, int flags);
int system(const char* command);

#else

using ::accept;
using ::bind;
using ::connect;
using ::freeaddrinfo;
using ::getaddrinfo;
using ::getnameinfo;
using ::getpeername;
using ::listen;
using ::recv;
using ::recvfrom;
using ::send;
using ::sendto;
using ::setsockopt;
using ::shutdown;
using ::socket;
using std::system;

#endif

}  // namespace mox::host
