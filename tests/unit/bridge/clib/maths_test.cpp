// Mathematics through the bridge: abs on 64 bits, byte order, rand's range
// and seed.
#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeMaths = Bridge;

TEST_F(BridgeMaths, IntegerMembers) {
  EXPECT_EQ(Ans("labs", L("05000000000")), "5000000000");
  EXPECT_EQ(Ans("abs", L("09223372036854775808")), "09223372036854775808");  // wraps
  EXPECT_EQ(Ans("ntohs", L("13330")), "4660");
  EXPECT_EQ(Ans("ntohl", L("255")), "4278190080");  // unsigned
}

TEST_F(BridgeMaths, RandStaysWithinRandMax) {
  Call("srand", L("7"));
  std::string first = Ans("rand");
  int64_t highest = 0;
  for (int i = 0; i < 2000; ++i) highest = std::max(highest, Num(Call("rand")));
  EXPECT_LE(highest, 32767);
  EXPECT_GT(highest, 30000);
  Call("srand", L("7"));
  EXPECT_EQ(Ans("rand"), first);
}

}  // namespace
}  // namespace mox::builtin_test
