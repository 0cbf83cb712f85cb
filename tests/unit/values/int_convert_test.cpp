// Small integers as number leaves: the text written in place (two digits
// a turn) at every digit-count boundary, the sign's leading 0, and the
// analysis the leaf is made with.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "program/analyse.h"
#include "support/leak_checked_test.h"
#include "values/int_convert.h"

namespace mox {
namespace {

class IntConvertTest : public LeakCheckedTest {};

TEST_F(IntConvertTest, LeavesSpellTheirValueAndReadBack) {
  std::vector<uint64_t> values = {0, std::numeric_limits<uint64_t>::max()};
  for (uint64_t power = 1; power <= 1000000000000000000ULL; power *= 10) {
    values.push_back(power - 1);
    values.push_back(power);
    values.push_back(power + 1);
  }
  for (uint64_t v : values) {
    CellRef u = MakeUint64(v);
    EXPECT_EQ(LeafView(u.get()), std::to_string(v));
    EXPECT_EQ(u->Field(), std::to_string(v).size());
    if (v > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) continue;
    for (int64_t s : {static_cast<int64_t>(v), -static_cast<int64_t>(v)}) {
      CellRef leaf = MakeInt64(s);
      std::string expected = s < 0 ? "0" + std::to_string(v) : std::to_string(v);
      EXPECT_EQ(LeafView(leaf.get()), expected);
      EXPECT_EQ(IntegerToInt64(leaf.get()), s);
    }
  }
  EXPECT_EQ(LeafView(MakeInt64(std::numeric_limits<int64_t>::min()).get()), "09223372036854775808");
}

TEST_F(IntConvertTest, LeavesAreMadeAnalysedAsValues) {
  CellRef leaf = MakeInt64(-42);
  EXPECT_TRUE(leaf->Analysed());
  EXPECT_EQ(leaf->AnalysisValue(), 1);
  EXPECT_TRUE(IsValue(leaf.get()));
  EXPECT_EQ(VariableSet(leaf.get()), 0u);
}

}  // namespace
}  // namespace mox
