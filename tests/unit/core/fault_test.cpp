// The memory fault report: the line a bad raw access ends the run with.
#include "core/fault.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace mox {
namespace {

// A read that no sanitizer checks first, so that the fault comes from the
// address itself and not from its shadow.
__attribute__((no_sanitize("address"), noinline)) uint8_t ReadAt(uintptr_t address) {
  return *reinterpret_cast<volatile uint8_t*>(address);
}

void FaultIn(const char* builtin, uintptr_t address) {
  InstallFaultReport();
  CellRef head = MakeLeaf(builtin);
  RawAccess raw(head.get());
  ReadAt(address);
}

TEST(FaultReportDeathTest, NamesTheBuiltinAndTheAddressTheSystemGives) {
  EXPECT_EXIT(FaultIn("refk", 4096), testing::ExitedWithCode(kMemoryFaultStatus),
              "mox: memory fault in refk at address 0x1000");
  // Past the 47 bits of a user address the system reports none (it would
  // read as 0): the report does not make one up.
  EXPECT_EXIT(FaultIn("refk", uintptr_t{1} << 47), testing::ExitedWithCode(kMemoryFaultStatus),
              "mox: memory fault in refk at an unknown address");
}

}  // namespace
}  // namespace mox
