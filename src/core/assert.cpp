// The two fatal paths. They write with raw descriptor writes (not through the
// channels, whose own failures are assertions) and never return.
#include "core/assert.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace mox {

void WriteOnFatalPath(int fd, const char* s, size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, s, n);
    if (w <= 0) return;  // nothing more can be done on a fatal path
    s += w;
    n -= static_cast<size_t>(w);
  }
}

void WriteDecimalOnFatalPath(int fd, uint64_t v) {
  char number[24];
  int n = std::snprintf(number, sizeof number, "%llu", static_cast<unsigned long long>(v));
  WriteOnFatalPath(fd, number, static_cast<size_t>(n));
}

void AssertionFailed(const char* file, int line) {
  std::fflush(nullptr);  // what the program wrote through C's streams first
  WriteOnFatalPath(2, "ASSERTION FAILED:", 17);
  WriteOnFatalPath(2, file, std::strlen(file));
  WriteOnFatalPath(2, ":", 1);
  WriteDecimalOnFatalPath(2, static_cast<uint64_t>(line));
  WriteOnFatalPath(2, "\n", 1);
  std::abort();
}

void FatalTag(const char* tag, const char* file, int line) {
  std::fflush(nullptr);
  WriteOnFatalPath(1, "REDVFAIL: ", 10);
  WriteOnFatalPath(1, tag, std::strlen(tag));
  WriteOnFatalPath(1, "\n", 1);
  AssertionFailed(file, line);
}

}  // namespace mox
