// Fuzz target for the whole pipeline: any bytes as a program file go through
// definitions, the static checks and evaluation (with a step budget and a
// memory cap, and with the host out of reach: run_harness.h), and a failed
// stage's Banner is formatted. No input may stop the process, and every cell
// made for an input is released when its run has ended.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "core/assert.h"
#include "core/cell.h"
#include "run_harness.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  mox::fuzz::InstallHarness();
  return 0;
}

// Each open backtick stores the rendering of the expression it applies to,
// renderings of the backticks inside it included, so a chain of backticks
// costs time and memory exponential in its length, as the language has it
// (a found input with a few dozen took 17 s; longer chains end in the
// out-of-memory report). Inputs with more are skipped, not reported slow.
constexpr std::ptrdiff_t kMostBackticks = 16;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;  // long inputs add time, not reach
  if (std::count(data, data + size, '`') > kMostBackticks) return 0;
  const int64_t live = mox::LiveCells();
  mox::fuzz::RunOneProgram(std::string_view(reinterpret_cast<const char*>(data), size));
  MOX_ASSERT(mox::LiveCells() == live);
  return 0;
}
