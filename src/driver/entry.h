// The process entry: command line, program file, the start-up stages in
// order, and the exit code. Returns the exact 32-bit code; main() maps it
// onto a POSIX exit status.
#pragma once

#include <cstdint>

namespace mox {

constexpr int32_t kFailedStage = INT32_MIN;  // 0x80000000

int32_t MoxEntry(int argc, char** argv);

// The exit status the process reports for an entry code: POSIX keeps only
// the low 8 bits, which would turn 0x80000000 into success, so that one code
// becomes 2.
int ExitStatusFor(int32_t code);

}  // namespace mox
