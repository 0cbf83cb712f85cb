// Decimal digit kernels: the fixed-width writers against printf, over
// random values and every digit pattern at the lane boundaries.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "values/dec_digits.h"
#include "values/int_convert.h"

namespace mox {
namespace {

std::string Printed(uint64_t v, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*llu", width, static_cast<unsigned long long>(v));
  return buf;
}

TEST(DecDigits, FixedWidthWritersMatchPrintf) {
  std::vector<uint64_t> values = {0, 1, 9, 10, 99, 100, 9999, 10000, 99999999, 100000000, 999999999999999999ULL};
  // Each 4-, 2- and 1-digit lane at its extremes.
  for (uint64_t lane = 1; lane < 1000000000000000000ULL; lane *= 10) {
    values.push_back(lane * 9);
    values.push_back(lane - 1);
    values.push_back(lane * 5 + lane / 2);
  }
  std::mt19937_64 gen(7);
  for (int i = 0; i < 100000; ++i) values.push_back(gen() % 1000000000000000000ULL);
  char out[19] = {};
  for (uint64_t v : values) {
    WriteLimbDigits(out, v);
    ASSERT_EQ(std::string(out, 18), Printed(v, 18));
    uint64_t low = v % 10000000000000000ULL;
    WriteSixteenDigits(out, low);
    ASSERT_EQ(std::string(out, 16), Printed(low, 16));
  }
}

TEST(DecDigits, CountsReadsAndShortWrites) {
  for (uint64_t v = 1, d = 1; d <= 19; v *= 10, ++d) {
    EXPECT_EQ(DigitCount(v), static_cast<int>(d));
    EXPECT_EQ(DigitCount(v - 1), d == 1 ? 1 : static_cast<int>(d - 1));
    std::string s = Printed(v, 0);
    EXPECT_EQ(ReadDigits(s.data(), s.size()), v);
    char out[24] = {};
    WriteDigits(out, v - 1, DigitCount(v - 1));
    EXPECT_EQ(std::string(out), Printed(v - 1, 0));
  }
  EXPECT_EQ(DigitRunLength("12345678901234567x9"), 17u);
}

// Small number leaves are written two digits at a time: every digit count,
// odd and even, both signs, and the ends of the 64-bit ranges.
TEST(DecDigits, NumberLeavesOfWords) {
  for (uint64_t v = 1; v != 0 && v <= 10000000000000000000ULL; v *= 10) {
    for (uint64_t x : {v - 1, v, v + 7, 3 * v - 1}) {
      EXPECT_EQ(LeafView(MakeUint64(x).get()), std::to_string(x));
      if (x > uint64_t{INT64_MAX}) continue;
      int64_t s = static_cast<int64_t>(x);
      EXPECT_EQ(LeafView(MakeInt64(s).get()), std::to_string(s));
      EXPECT_EQ(LeafView(MakeInt64(-s).get()), s == 0 ? "0" : "0" + std::to_string(s));
    }
    if (v == 10000000000000000000ULL) break;
  }
  EXPECT_EQ(LeafView(MakeUint64(UINT64_MAX).get()), "18446744073709551615");
  EXPECT_EQ(LeafView(MakeInt64(INT64_MIN).get()), "09223372036854775808");
  EXPECT_EQ(LeafView(MakeInt64(INT64_MAX).get()), "9223372036854775807");
}

}  // namespace
}  // namespace mox
