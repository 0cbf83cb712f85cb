// The environment and processes through the bridge: getenv and system, and
// assert, exit and abort ending the process the way they should.
#include <csignal>
#include <cstdlib>

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeProcess = Bridge;

TEST_F(BridgeProcess, EnvironmentAndShell) {
  EXPECT_EQ(Ans("getenv", Addr("MOX_BRIDGE_SURELY_UNSET")), "0");
  setenv("MOX_BRIDGE_SET", "value", 1);
  EXPECT_EQ(Str(Call("getenv", Addr("MOX_BRIDGE_SET"))), "value");
  unsetenv("MOX_BRIDGE_SET");
  EXPECT_EQ(Ans("system", Addr("exit 3")), "768");
}

TEST_F(BridgeProcess, AssertPassesKAndRefusesOtherValues) {
  EXPECT_EQ(Ans("assert", L("K")), "I");
  EXPECT_EQ(Ans("assert", L("1")), "Z");
  EXPECT_EQ(Ans("assert", L("Ka")), "Z");
}

TEST(BridgeProcessDeath, AssertOfHExitAndAbortEndTheProcess) {
  auto call = [](const char* name, const char* arg) {
    LoadPrelude();
    if (arg != nullptr) Call(name, L(arg));
    else Call(name);
  };
  EXPECT_DEATH(call("assert", "H"), "^ASSERTION FAILED:.*src/bridge/clib/process\\.cpp:244\n$");
  EXPECT_EXIT(call("exit", "259"), ::testing::ExitedWithCode(3), "");
  EXPECT_EXIT(call("abort", nullptr), ::testing::KilledBySignal(SIGABRT), "");
}

}  // namespace
}  // namespace mox::builtin_test
