// C streams on sockets: fopencookie streams whose writes go through
// send(MSG_NOSIGNAL) (see socket_streams.h).
#include "bridge/clib/socket_streams.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <unordered_map>

#include "bridge/platform/host.h"

namespace mox {

namespace {

struct SocketCookie {
  int fd;
  FILE* stream;
};

// The open socket streams' descriptors, for fileno. Never destroyed: C
// flushes its streams at exit after the static objects are gone.
std::unordered_map<FILE*, int>& Descriptors() {
  static auto* open = new std::unordered_map<FILE*, int>();
  return *open;
}

ssize_t ReadSocket(void* cookie, char* buffer, size_t size) {
  return ::read(static_cast<SocketCookie*>(cookie)->fd, buffer, size);
}

// All of it or a failure: C takes a short write for an error anyway.
ssize_t WriteSocket(void* cookie, const char* buffer, size_t size) {
  const int fd = static_cast<SocketCookie*>(cookie)->fd;
  size_t sent = 0;
  while (sent < size) {
    const ssize_t n = host::send(fd, buffer + sent, size - sent, MSG_NOSIGNAL);
    if (n < 0) return -1;
    sent += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(size);
}

int SeekSocket(void*, off64_t*, int) {
  errno = ESPIPE;  // as lseek on a socket
  return -1;
}

int CloseSocketStream(void* cookie) {
  auto* c = static_cast<SocketCookie*>(cookie);
  Descriptors().erase(c->stream);
  const int result = ::close(c->fd);
  delete c;
  return result;
}

}  // namespace

bool IsSocket(int fd) {
  struct stat st;
  return fstat(fd, &st) == 0 && S_ISSOCK(st.st_mode);
}

FILE* OpenDescriptor(int fd, const char* mode) {
  if (!IsSocket(fd)) return fdopen(fd, mode);
  auto* cookie = new SocketCookie{fd, nullptr};
  FILE* stream = fopencookie(cookie, mode, {ReadSocket, WriteSocket, SeekSocket, CloseSocketStream});
  if (stream == nullptr) {  // a mode that is none (EINVAL)
    delete cookie;
    return nullptr;
  }
  cookie->stream = stream;
  Descriptors()[stream] = fd;
  return stream;
}

int StreamDescriptor(FILE* stream) {
  auto& open = Descriptors();
  if (auto at = open.find(stream); at != open.end()) return at->second;
  return fileno(stream);
}

}  // namespace mox
