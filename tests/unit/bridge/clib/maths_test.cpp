// Mathematics through the bridge: reals only for the real members, results
// through addresses, abs on 64 bits, rand's range, byte order.
#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeMaths = Bridge;

TEST_F(BridgeMaths, RealsOnly) {
  EXPECT_EQ(Ans("acos", L("1")), "Z");
  EXPECT_EQ(RealOf(Call("acos", Real(1))), 0.0);
  EXPECT_EQ(Ans("pow", Real(2), L("10")), "Z");
  int exponent = 0;
  EXPECT_EQ(RealOf(Call("frexp", Real(8), Addr(&exponent))), 0.5);
  EXPECT_EQ(exponent, 4);
  double whole = 0;
  EXPECT_EQ(RealOf(Call("modf", Real(-2.25), Addr(&whole))), -0.25);
  EXPECT_EQ(whole, -2.0);
}

TEST_F(BridgeMaths, AbsOnSixtyFourBits) {
  EXPECT_EQ(Ans("labs", L("05000000000")), "5000000000");
  EXPECT_EQ(Ans("abs", L("09223372036854775808")), "09223372036854775808");  // wraps
  EXPECT_EQ(Ans("abs", L("005")), "Z");
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

TEST_F(BridgeMaths, ByteOrder) {
  EXPECT_EQ(Ans("ntohs", L("13330")), "4660");
  EXPECT_EQ(Ans("ntohl", L("255")), "4278190080");  // unsigned
  EXPECT_EQ(Ans("htonl", L("[1]")), "Z");
}

}  // namespace
}  // namespace mox::builtin_test
