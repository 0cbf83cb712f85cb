// Fuzz target for the whole pipeline: any bytes as a program file go through
// definitions, the static checks and evaluation (with a step budget and a
// memory cap, and with the host out of reach: run_harness.h), and a failed
// stage's Banner is formatted. No input may stop the process, and every cell
// made for an input is released when its run has ended.
#include <cstddef>
#include <cstdint>

#include "core/assert.h"
#include "core/cell.h"
#include "run_harness.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  mox::fuzz::InstallHarness();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;  // long inputs add time, not reach
  const int64_t live = mox::LiveCells();
  mox::fuzz::RunOneProgram(std::string_view(reinterpret_cast<const char*>(data), size));
  MOX_ASSERT(mox::LiveCells() == live);
  return 0;
}
