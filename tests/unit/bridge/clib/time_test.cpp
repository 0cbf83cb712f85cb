// Time through the bridge: times by address, a bracketed format, difftime.
#include <ctime>

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeTime = Bridge;

TEST_F(BridgeTime, TimesRecordsAndFormats) {
  time_t slot = 0;
  int64_t now = Num(Call("time", Addr(&slot)));
  EXPECT_EQ(now, static_cast<int64_t>(slot));
  EXPECT_NE(now, 0);
  time_t day = 86400;
  char out[16] = {};
  EXPECT_EQ(Ans("strftime", Addr(out), L("16"), L("[%Y-%m-%d]"), Call("gmtime", Addr(&day))), "12");
  EXPECT_STREQ(out, "[1970-01-02]");  // the format's brackets are copied
  EXPECT_EQ(RealOf(Call("difftime", L("4"), L("10"))), -6.0);
  EXPECT_EQ(Ans("difftime", Real(10), L("4")), "Z");
}

}  // namespace
}  // namespace mox::builtin_test
