// The members for C streams and descriptors: opening, reading, writing and
// positioning FILE streams, the standard streams, temporary files and names,
// and descriptor reads, writes and closes. Streams are reached by their
// addresses (stdout answers C's own).
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#include <linux/magic.h>
#include <sys/vfs.h>
#endif

#include <cerrno>
#include <cstdio>

#include "bridge/c_function.h"
#include "bridge/clib/socket_streams.h"
#include "bridge/families.h"
#include "bridge/platform/host.h"
#include "bridge/streams.h"
#include "core/write_epoch.h"

namespace mox {

void PrepareCStreams() { std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ); }

namespace {

FILE* StandardOutput() { return stdout; }
FILE* StandardError() { return stderr; }

// setbuf as C defines it: a buffer of BUFSIZ bytes, or none for null. A
// buffer is the program's memory, which stdio writes on later calls.
void SetBuffer(FILE* stream, char* buffer) {
  if (buffer != nullptr) g_memory_lent = true;
  std::setvbuf(stream, buffer, buffer ? _IOFBF : _IONBF, BUFSIZ);
}

// Whether the descriptor's file is on the process file system, where
// /proc/self/mem (under any of its names and links) writes the program's
// own memory.
bool OnProcessFileSystem(int fd) {
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
  struct statfs fs;
  return fstatfs(fd, &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC;
#else
  (void)fd;
  return false;
#endif
}

// fopen and fdopen, noting a stream on that file system: from then on the
// builtins that write to streams and descriptors, which otherwise only
// read the program's memory, may write it, and are taken as writers, as
// after setbuf lends a buffer.
FILE* NoteProcessFile(FILE* stream) {
  if (stream != nullptr && OnProcessFileSystem(StreamDescriptor(stream))) g_memory_lent = true;
  return stream;
}
FILE* OpenStream(const char* path, const char* mode) { return NoteProcessFile(std::fopen(path, mode)); }
FILE* OpenDescriptorStream(int fd, const char* mode) { return NoteProcessFile(OpenDescriptor(fd, mode)); }

// tmpnam, made here (the C library's own draws a warning at every link): a
// path under /tmp naming no existing file, written into the caller's buffer
// of at least L_tmpnam bytes, or into one buffer of ours that each call
// overwrites. Null when no free name was found.
char* TemporaryName(char* buffer) {
  static char own[L_tmpnam];
  static unsigned serial = 0;
  char* name = buffer != nullptr ? buffer : own;
  int saved = errno;
  for (int tries = 0; tries < TMP_MAX; ++tries) {
    unsigned n = serial++;
    std::snprintf(name, L_tmpnam, "%s/mox%04x%06x", P_tmpdir, static_cast<unsigned>(getpid()) & 0xFFFF, n & 0xFFFFFF);
    if (access(name, F_OK) != 0 && errno == ENOENT) {
      errno = saved;
      return name;
    }
  }
  return nullptr;
}

// write to a socket whose peer has gone answers -1 with errno EPIPE, as send
// does, rather than ending the interpreter by SIGPIPE: sockets are written
// through send, asked not to raise it.
ssize_t Write(int fd, const void* buffer, size_t count) {
  if (IsSocket(fd)) return host::send(fd, buffer, count, MSG_NOSIGNAL);
  return ::write(fd, buffer, count);
}

// closesocket closes sockets only: any other open descriptor (the standard
// output, say) is left open and answers -1 with errno ENOTSOCK.
int CloseSocket(int fd) {
  struct stat st;
  if (fstat(fd, &st) != 0) return -1;  // EBADF
  if (!S_ISSOCK(st.st_mode)) {
    errno = ENOTSOCK;
    return -1;
  }
  return ::close(fd);
}

constexpr BuiltinBinding kStdio[] = {
    // streams
    CFunction<StandardOutput, Number()>("stdout"),
    CFunction<StandardError, Number()>("stderr"),
    CFunction<OpenStream, Number(Address, Address)>("fopen"),
    CFunction<OpenDescriptorStream, Number(Integer, Address)>("fdopen"),
    CFunction<std::tmpfile, Number()>("tmpfile"),
    CFunction<std::fclose, Number(Integer)>("fclose"),
    CFunction<std::fflush, Number(Integer)>("fflush"),
    CFunction<SetBuffer, Unit(Integer, Integer)>("setbuf"),
    CFunction<StreamDescriptor, Number(Integer)>("fileno"),
    // reading
    CFunction<std::fgetc, Number(Integer)>("fgetc"),
    CFunction<std::getc, Number(Integer)>("getc"),
    CFunction<std::getchar, Number()>("getchar"),
    CFunction<std::ungetc, Number(Integer, Integer)>("ungetc"),
    CFunction<std::fgets, Number(Integer, Integer, Integer)>("fgets"),
    CFunction<std::fread, Unsigned(Integer, Integer, Integer, Integer)>("fread"),
    // writing
    ReadingCFunction<std::fputc, Number(Integer, Integer)>("fputc"),
    ReadingCFunction<std::putc, Number(Integer, Integer)>("putc"),
    ReadingCFunction<std::putchar, Number(Integer)>("putchar"),
    ReadingCFunction<std::fputs, Number(Integer, Integer)>("fputs"),
    ReadingCFunction<std::puts, Number(Address)>("puts"),
    ReadingCFunction<std::fwrite, Number(Address, Integer, Integer, Integer)>("fwrite"),
    ReadingCFunction<std::perror, Unit(Address)>("perror"),
    // position and state
    CFunction<std::fseek, Number(Integer, Integer, Integer)>("fseek"),
    CFunction<std::ftell, Number(Integer)>("ftell"),
    CFunction<std::rewind, Unit(Integer)>("rewind"),
    CFunction<std::fgetpos, Number(Integer, Integer)>("fgetpos"),
    CFunction<std::fsetpos, Number(Integer, Integer)>("fsetpos"),
    CFunction<std::feof, Number(Integer)>("feof"),
    CFunction<std::ferror, Number(Integer)>("ferror"),
    CFunction<std::clearerr, Unit(Integer)>("clearerr"),
    // files by name
    CFunction<As<int(const char*)>(std::remove), Number(Address)>("remove"),
    CFunction<std::rename, Number(Address, Address)>("rename"),
    CFunction<TemporaryName, Number(Integer)>("tmpnam"),
    // descriptors
    CFunction<::read, Number(Integer, Integer, Integer)>("read"),
    ReadingCFunction<Write, Number(Integer, Address, Integer)>("write"),
    CFunction<CloseSocket, Number(Integer)>("closesocket"),
};

}  // namespace

BuiltinFamily StdioBuiltins() { return kStdio; }

}  // namespace mox
