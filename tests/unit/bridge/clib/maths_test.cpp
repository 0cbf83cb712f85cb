// Mathematics through the bridge: reals only for the real members, the
// mixed members writing through addresses, 64-bit abs, rand's range, and the
// byte-order conversions.
#include <cmath>

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeMaths = Bridge;

TEST_F(BridgeMaths, RealMembersTakeRealsOnly) {
  EXPECT_EQ(Ans("acos", L("1")), "Z");
  EXPECT_EQ(RealOf(Call("acos", Real(1))), 0.0);
  EXPECT_EQ(RealOf(Call("sqrt", Real(2.25))), 1.5);
  EXPECT_TRUE(std::isnan(RealOf(Call("log", Real(-1)))));
  EXPECT_EQ(RealOf(Call("floor", Real(-1.5))), -2.0);
  EXPECT_EQ(RealOf(Call("pow", Real(2), Real(10))), 1024.0);
  EXPECT_EQ(Ans("pow", Real(2), L("10")), "Z");
  EXPECT_EQ(RealOf(Call("fmod", Real(7), Real(3))), 1.0);
  EXPECT_EQ(RealOf(Call("hypot", Real(3), Real(4))), 5.0);
  EXPECT_GT(RealOf(Call("nextafter", Real(1), Real(2))), 1.0);
}

TEST_F(BridgeMaths, MixedMembersWriteThroughAddresses) {
  int exponent = 0;
  EXPECT_EQ(RealOf(Call("frexp", Real(8), Addr(&exponent))), 0.5);
  EXPECT_EQ(exponent, 4);
  EXPECT_EQ(RealOf(Call("ldexp", Real(0.5), L("3"))), 4.0);
  double whole = 0;
  EXPECT_EQ(RealOf(Call("modf", Real(-2.25), Addr(&whole))), -0.25);
  EXPECT_EQ(whole, -2.0);
  EXPECT_EQ(Ans("ldexp", Real(1), Real(1)), "Z");
}

TEST_F(BridgeMaths, AbsOnSixtyFourBits) {
  EXPECT_EQ(Ans("abs", L("05")), "5");
  EXPECT_EQ(Ans("labs", L("05000000000")), "5000000000");
  EXPECT_EQ(Ans("abs", L("09223372036854775808")), "09223372036854775808");  // wraps
  EXPECT_EQ(Ans("abs", L("[5]")), "Z");
  EXPECT_EQ(Ans("abs", L("005")), "Z");
}

TEST_F(BridgeMaths, RandStaysWithinRandMaxAndFollowsItsSeed) {
  EXPECT_EQ(Ans("rand_max"), "32767");
  EXPECT_EQ(Ans("srand", L("7")), "I");
  std::string first = Ans("rand");
  int64_t seen_high = 0;
  for (int i = 0; i < 2000; ++i) {
    int64_t r = Num(Call("rand"));
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 32767);
    seen_high = std::max(seen_high, r);
  }
  EXPECT_GT(seen_high, 30000);
  Call("srand", L("7"));
  EXPECT_EQ(Ans("rand"), first);
}

TEST_F(BridgeMaths, ByteOrder) {
  EXPECT_EQ(Ans("htons", L("4660")), "13330");
  EXPECT_EQ(Ans("ntohs", L("13330")), "4660");
  EXPECT_EQ(Ans("htonl", L("1")), "16777216");
  EXPECT_EQ(Ans("ntohl", L("255")), "4278190080");
  EXPECT_EQ(Ans("htonl", L("[1]")), "Z");
}

}  // namespace
}  // namespace mox::builtin_test
