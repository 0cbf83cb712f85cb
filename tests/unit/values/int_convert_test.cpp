// Small integers as number leaves: made with the analysis and the length
// field that analysing and finishing a number's leaf give (the digits
// themselves are checked with the digit writers, dec_digits_test.cpp).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "program/analyse.h"
#include "support/leak_checked_test.h"
#include "values/int_convert.h"
#include "values/operand.h"

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

// An integer argument (an index, a count) reads as the shared conversion
// reads it, whether the quick reading of a short number takes it or not:
// up to the first byte that is no digit, wrapping past 64 bits.
TEST_F(IntConvertTest, IntegerArgumentsReadAsTheConversion) {
  CellRef written = MakeLeaf("1234");
  written->Bytes()[2] = 'z';  // a program's write
  std::vector<CellRef> integers;
  integers.push_back(written.Copy());
  for (const char* text : {"0", "7", "05", "123456789012345678", "0123456789012345678", "99999999999999999999",
                           "018446744073709551617", "12a"})
    integers.push_back(MakeLeaf(text));
  for (const CellRef& leaf : integers) {
    int64_t value = 0;
    EXPECT_TRUE(IntegerArgument(leaf.get(), &value)) << LeafView(leaf.get());
    EXPECT_EQ(value, IntegerToInt64(leaf.get())) << LeafView(leaf.get());
  }
  EXPECT_EQ(IntegerToInt64(written.get()), 12);
  for (const char* text : {"00", "001", "[12]", "x"}) {
    CellRef leaf = MakeLeaf(text);
    int64_t value = 0;
    EXPECT_FALSE(IntegerArgument(leaf.get(), &value)) << text;
  }
}

}  // namespace
}  // namespace mox
