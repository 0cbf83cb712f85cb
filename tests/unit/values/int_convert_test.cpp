// Small integers as number leaves: made with the analysis and the length
// field that analysing and finishing a number's leaf give (the digits
// themselves are checked with the digit writers, dec_digits_test.cpp).
#include <gtest/gtest.h>

#include <cstdint>

#include "program/analyse.h"
#include "support/leak_checked_test.h"
#include "values/int_convert.h"

namespace mox {
namespace {

class IntConvertTest : public LeakCheckedTest {};

TEST_F(IntConvertTest, LeavesAreMadeAnalysedValuesWithTheirLength) {
  for (int64_t v : {int64_t{0}, int64_t{-42}, int64_t{123456789012345}, INT64_MIN}) {
    CellRef leaf = MakeInt64(v);
    EXPECT_TRUE(leaf->Analysed());
    EXPECT_EQ(leaf->AnalysisValue(), 1);
    EXPECT_TRUE(IsValue(leaf.get()));
    EXPECT_EQ(VariableSet(leaf.get()), 0u);
    EXPECT_EQ(leaf->Field(), LeafView(leaf.get()).size());
    EXPECT_EQ(IntegerToInt64(leaf.get()), v);
  }
}

}  // namespace
}  // namespace mox
