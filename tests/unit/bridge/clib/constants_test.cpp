// The constants: the error numbers agree with what errno reports on the
// host; record sizes; one handler for the constants of equal value.
#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeConstants = Bridge;

TEST_F(BridgeConstants, ErrorNumbersAgreeWithErrno) {
  EXPECT_EQ(Ans("read", L("01"), L("0"), L("0")), "01");
  EXPECT_EQ(Ans("errno"), Ans("ebadf"));
  EXPECT_EQ(Ans("fseek", Call("stdout"), L("0"), L("99")), "01");
  EXPECT_EQ(Ans("errno"), Ans("einval"));
}

TEST_F(BridgeConstants, RecordSizesAndSocketConstants) {
  EXPECT_EQ(Ans("dirent"), "296");
  EXPECT_EQ(Ans("addrinfo"), "48");
  EXPECT_EQ(Ans("sock_stream"), "1");
  EXPECT_EQ(FindBuiltin("ai_passive")->handler, FindBuiltin("sock_stream")->handler);
}

}  // namespace
}  // namespace mox::builtin_test
