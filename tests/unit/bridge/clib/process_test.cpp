// The environment, processes, errno and the constants through the bridge:
// the error constants agree with what errno reports, and exit, abort and a
// failed assert end the process the way they should.
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeProcess = Bridge;

TEST_F(BridgeProcess, Environment) {
  EXPECT_EQ(Ans("getenv", Addr("MOX_BRIDGE_SURELY_UNSET")), "0");
  setenv("MOX_BRIDGE_SET", "value", 1);
  EXPECT_EQ(Str(Call("getenv", Addr("MOX_BRIDGE_SET"))), "value");
  EXPECT_EQ(Ans("getenv", L("[MOX_BRIDGE_SET]")), "0");  // the brackets are part of the name
  unsetenv("MOX_BRIDGE_SET");
  EXPECT_NE(Ans("system", L("0")), "0");  // a shell is there
  EXPECT_EQ(Ans("system", Addr("exit 3")), "768");
  EXPECT_EQ(Ans("system", L("exit")), "Z");
}

TEST_F(BridgeProcess, ConstantsAgreeWithErrno) {
  EXPECT_EQ(Ans("read", L("01"), L("0"), L("0")), "01");
  EXPECT_EQ(Ans("errno"), Ans("ebadf"));
  FILE* f = std::tmpfile();
  EXPECT_EQ(Ans("fseek", Addr(f), L("0"), L("99")), "01");
  EXPECT_EQ(Ans("errno"), Ans("einval"));
  std::fclose(f);
  EXPECT_EQ(Ans("closedir", L("0")), "01");
  EXPECT_EQ(Ans("errno"), "9");
  struct {
    const char* name;
    int value;
  } const host[] = {{"eacces", EACCES},   {"ebadf", EBADF},   {"econnaborted", ECONNABORTED}, {"efault", EFAULT},
                    {"eintr", EINTR},     {"einval", EINVAL}, {"eio", EIO},                   {"emfile", EMFILE},
                    {"enfile", ENFILE},   {"enodev", ENODEV}, {"enomem", ENOMEM},             {"enotsock", ENOTSOCK},
                    {"enxio", ENXIO},     {"eopnotsupp", EOPNOTSUPP}, {"eoverflow", EOVERFLOW},
                    {"ewouldblock", EWOULDBLOCK}};
  for (const auto& e : host) EXPECT_EQ(Num(Call(e.name)), e.value) << e.name;
}

TEST_F(BridgeProcess, RecordSizesAndSocketConstants) {
  EXPECT_EQ(Ans("dirent"), "296");
  EXPECT_EQ(Ans("time_t"), "8");
  EXPECT_EQ(Ans("addrinfo"), "48");
  EXPECT_EQ(Ans("af_unspec"), "0");
  EXPECT_EQ(Ans("sock_stream"), "1");
  EXPECT_EQ(FindBuiltin("ai_passive")->handler, FindBuiltin("sock_stream")->handler);
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
