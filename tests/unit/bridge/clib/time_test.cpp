// Time through the bridge: times and tm records by address, strftime with a
// bracketed format, difftime as a real.
#include <ctime>
#include <string>

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeTime = Bridge;

TEST_F(BridgeTime, NowAndThroughAnAddress) {
  int64_t before = static_cast<int64_t>(std::time(nullptr));
  time_t slot = 0;
  int64_t now = Num(Call("time", Addr(&slot)));
  EXPECT_GE(now, before);
  EXPECT_EQ(static_cast<int64_t>(slot), now);
  EXPECT_GE(Num(Call("time", L("0"))), now);
  EXPECT_EQ(Ans("time", L("[0]")), "Z");
}

TEST_F(BridgeTime, RecordsAndTexts) {
  time_t epoch = 86400 + 3661;  // 1970-01-02 01:01:01 UTC
  std::tm* tm = Ptr<std::tm>(Call("gmtime", Addr(&epoch)));
  ASSERT_NE(tm, nullptr);
  EXPECT_EQ(tm->tm_mday, 2);
  EXPECT_EQ(tm->tm_hour, 1);
  EXPECT_EQ(Str(Call("asctime", Addr(tm))), "Fri Jan  2 01:01:01 1970\n");

  char out[32] = {};
  EXPECT_EQ(Ans("strftime", Addr(out), L("32"), L("[%Y-%m-%d]"), Addr(tm)), "12");
  EXPECT_STREQ(out, "[1970-01-02]");  // the format's brackets are copied
  EXPECT_EQ(Ans("strftime", Addr(out), L("2"), L("[%Y]"), Addr(tm)), "0");

  std::tm local = *Ptr<std::tm>(Call("localtime", Addr(&epoch)));
  EXPECT_EQ(Num(Call("mktime", Addr(&local))), 86400 + 3661);
  EXPECT_EQ(Str(Call("ctime", Addr(&epoch))), std::string(std::ctime(&epoch)));
}

TEST_F(BridgeTime, DifftimeIsReal) {
  EXPECT_EQ(RealOf(Call("difftime", L("10"), L("4"))), 6.0);
  EXPECT_EQ(RealOf(Call("difftime", L("4"), L("10"))), -6.0);
  EXPECT_EQ(Ans("difftime", Real(10), L("4")), "Z");
}

}  // namespace
}  // namespace mox::builtin_test
