// Internal assertions: checks of invariants that correct operation never
// breaks. A failure writes "ASSERTION FAILED:<file>:<line>" on standard error
// and aborts. User errors never come here; they travel as Reports and values.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mox {

[[noreturn]] void AssertionFailed(const char* file, int line);

// A raw descriptor write for the paths that end the process (assertions,
// running out of memory): as much as the descriptor takes, no checks.
void WriteOnFatalPath(int fd, const char* s, size_t n);
// The decimal digits of v, the same way.
void WriteDecimalOnFatalPath(int fd, uint64_t v);

// For conditions a program text can reach but that have no message of their
// own: "REDVFAIL: <tag>" on standard output, then the assertion message.
[[noreturn]] void FatalTag(const char* tag, const char* file, int line);

}  // namespace mox

#define MOX_ASSERT(cond) \
  ((cond) ? (void)0 : ::mox::AssertionFailed(__FILE__, __LINE__))
#define MOX_FAIL() ::mox::AssertionFailed(__FILE__, __LINE__)
#define MOX_FATAL_TAG(tag) ::mox::FatalTag(tag, __FILE__, __LINE__)
