// Processes through the bridge: assert's refusals, and assert, abort and
// raise ending the process the way they should.
#include <sys/wait.h>

#include <csignal>
#include <cstdlib>

#include "core/fault.h"

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeProcess = Bridge;

TEST_F(BridgeProcess, AssertPassesKAndRefusesOtherValues) {
  EXPECT_EQ(Ans("assert", L("K")), "I");
  EXPECT_EQ(Ans("assert", L("1")), "Z");
  EXPECT_EQ(Ans("assert", L("Ka")), "Z");
}

// exit is tests/programs/bridge/exit_status.
TEST(BridgeProcessDeath, AssertOfHAndAbortEndTheProcess) {
  auto call = [](const char* name, const char* arg) {
    LoadPrelude();
    if (arg != nullptr) Call(name, L(arg));
    else Call(name);
  };
  EXPECT_DEATH(call("assert", "H"), "^ASSERTION FAILED:.*src/bridge/clib/process\\.cpp:244\n$");
  EXPECT_EXIT(call("abort", nullptr), ::testing::KilledBySignal(SIGABRT), "");
}

// A SIGSEGV the program raises is no memory fault: it takes the action there
// was before (the default's, or a sanitizer's), not the fault report.
TEST(BridgeProcessDeath, RaisedSegmentationSignalIsNotReportedAsAFault) {
  auto not_a_fault_report = [](int status) { return !WIFEXITED(status) || WEXITSTATUS(status) != kMemoryFaultStatus; };
  EXPECT_EXIT(
      {
        LoadPrelude();
        InstallFaultReport();
        Call("raise", L("11"));
        std::exit(0);
      },
      not_a_fault_report, "");
}

}  // namespace
}  // namespace mox::builtin_test
