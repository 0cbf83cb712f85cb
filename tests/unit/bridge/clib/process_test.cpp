// Processes through the bridge: assert's refusals, and assert and abort
// ending the process the way they should.
#include <csignal>
#include <cstdlib>

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

}  // namespace
}  // namespace mox::builtin_test
