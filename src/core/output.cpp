// Chunked descriptor writes for the two output channels.
#include "core/output.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace mox {

namespace {
constexpr size_t kChunk = 4096;
uint64_t write_calls = 0;

void WriteChunked(int fd, const char* p, size_t n) {
  // What the program wrote through C's streams comes out before the
  // interpreter's own words (a failing program's last lines before its
  // Banner).
  std::fflush(nullptr);
  while (n > 0) {
    size_t chunk = n < kChunk ? n : kChunk;
    ++write_calls;
    ssize_t w;
    do {
      w = ::write(fd, p, chunk);
    } while (w < 0 && errno == EINTR);  // an interrupt note, not a failure
    // A signal can also cut a write to a terminal, pipe or socket short
    // once some bytes have gone: the rest follows in the next write.
    MOX_ASSERT(w > 0);
    p += w;
    n -= static_cast<size_t>(w);
  }
}
}  // namespace

const OutputChannel& OutputChannel::Write(const char* s) const {
  WriteChunked(fd, s, std::strlen(s));
  return *this;
}

const OutputChannel& OutputChannel::Write(std::string_view s) const {
  WriteChunked(fd, s.data(), s.size());
  return *this;
}

const OutputChannel& OutputChannel::Write(const Text& t) const { return Write(t.view()); }

const OutputChannel& ErrorChannel() {
  static const OutputChannel channel{2};
  return channel;
}

const OutputChannel& ResultChannel() {
  static const OutputChannel channel{1};
  return channel;
}

uint64_t OutputWriteCalls() { return write_calls; }

}  // namespace mox
