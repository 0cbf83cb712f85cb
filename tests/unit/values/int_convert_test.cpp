// Small integers as number leaves: made with the analysis and the length
// field that analysing and finishing a number's leaf give (the digits
// themselves are checked with the digit writers, dec_digits_test.cpp).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/value_word.h"
#include "core/write_epoch.h"
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

// A number that arithmetic makes keeps its value beside its text, trusted
// only in the write epoch it was made or last read in; a leaf whose value
// does not fit, or one made once the stamps have run out, is read from its
// text every time, and every one of them is freed by its true length.
TEST_F(IntConvertTest, KeptValuesAreTrustedOnlyInTheirEpoch) {
  std::vector<CellRef> leaves;
  for (int64_t v : {int64_t{0}, int64_t{-7}, int64_t{99999999}, kValueWordMax, -kValueWordMax, kValueWordMax + 1,
                    int64_t{-999999999999999999}})
    leaves.push_back(MakeInt64(v));
  auto expect_read = [&](bool trusted) {
    for (const CellRef& leaf : leaves) {
      int64_t kept = 0, read = 0;
      bool fits = FitsValueWord(IntegerToInt64(leaf.get()));
      EXPECT_EQ(TrustedValue(leaf.get(), &kept), trusted && fits) << LeafView(leaf.get());
      if (trusted && fits) {
        EXPECT_EQ(kept, IntegerToInt64(leaf.get()));
      }
      ASSERT_TRUE(SmallIntegerValue(leaf.get(), &read));
      EXPECT_EQ(read, IntegerToInt64(leaf.get()));
      EXPECT_EQ(leaf->StoredLength(), LeafView(leaf.get()).size());
    }
  };
  expect_read(true);
  NoteWrites();
  expect_read(false);  // and read from the text, which keeps each value again
  expect_read(true);

  CellRef written = MakeInt64(1234);
  NoteWrites();
  written->Bytes()[1] = '9';  // a program's write, in the epoch it moved to
  int64_t v = 0;
  ASSERT_TRUE(SmallIntegerValue(written.get(), &v));
  EXPECT_EQ(v, 1934);

  StampValuesIn(kStampLimit);
  CellRef late = MakeInt64(-55);
  EXPECT_FALSE(TrustedValue(late.get(), &v));
  EXPECT_FALSE(TrustedValue(written.get(), &v));
  ASSERT_TRUE(SmallIntegerValue(late.get(), &v));
  EXPECT_EQ(v, -55);
  EXPECT_FALSE(TrustedValue(late.get(), &v));
  EXPECT_EQ(late->StoredLength(), 3u);
  StampValuesIn(WriteEpoch());
}

}  // namespace
}  // namespace mox
