// Error values and the classification of a program's final value.
#include <gtest/gtest.h>

#include <string>

#include "diag/error_value.h"
#include "driver/result.h"
#include "program/globals.h"

namespace mox {
namespace {

CellRef L(std::string_view s) { return MakeLeaf(s); }

void ExpectReport(const Report& r, const char* say, const char* title, const char* vip,
                  const char* tip, const char* way) {
  EXPECT_EQ(r.say, say);
  EXPECT_EQ(r.title, title);
  EXPECT_EQ(r.vip, vip);
  EXPECT_EQ(r.tip, tip);
  EXPECT_EQ(r.way, way);
}

TEST(ErrorValue, LayoutAndRoundTrip) {
  Report r;
  r.say = "Built in function [plus] cannot be re-defined.";
  r.title = "built";
  r.vip = "__a_b";
  r.way = "[x[y]]";
  CellRef value = MakeErrorValue(r);
  ASSERT_TRUE(value->IsApp());
  EXPECT_TRUE(IsLeafText(value->f, "]"));
  EXPECT_EQ(LeafView(value->a),
            "['[\"Built in function [plus] cannot be re-defined.][\"built][\"__a_b][\"][\"[x[y]]]]");
  ExpectReport(DecodeErrorValue(LeafView(value->a)),
               "Built in function [plus] cannot be re-defined.", "built", "__a_b", "", "[x[y]]");
}

TEST(ErrorValue, DecoderSkipsMarkerBytesUnread) {
  ExpectReport(DecodeErrorValue("..[xs][yt][zv][wi][qw]"), "s", "t", "v", "i", "w");
}

TEST(ErrorValue, MalformedTextIsAnInternalError) {
  for (const char* t : {"['[\"say][\"title]", "['[\"say", "140737488348840", "", "['[][\"t][\"v][\"i][\"w]]"}) {
    EXPECT_FALSE(IsErrorValueText(t)) << t;
    EXPECT_DEATH(DecodeErrorValue(t), "ASSERTION FAILED:") << t;
  }
  EXPECT_TRUE(IsErrorValueText("..[xs][yt][zv][wi][qw]"));
  EXPECT_TRUE(IsErrorValueText(LeafView(MakeErrorValue(AllClearReport())->a)));
}

class ClassifyResultTest : public testing::Test {
 protected:
  void SetUp() override { Globals().Clear(); }
  void TearDown() override { Globals().Clear(); }
};

TEST_F(ClassifyResultTest, CycleMarker) {
  Report r;
  ClassifyResult(r, L(")count"));
  ExpectReport(r, "Cycle detected on function count.", "cycle", "count", "", "");
  EXPECT_TRUE(Globals().empty());
}

TEST_F(ClassifyResultTest, ErrorValueReplacesTheReport) {
  Report inner;
  inner.say = "Place error.";
  inner.title = "place";
  inner.tip = "___b_";
  Report r;
  r.way = "stale";
  ClassifyResult(r, MakeErrorValue(inner));
  ExpectReport(r, "Place error.", "place", "", "___b_", "");
}

TEST_F(ClassifyResultTest, IntegersAreStoredUnderTheEntryName) {
  for (const char* text : {"42", "0", "05", "K"}) {
    Report r;
    CellRef value = L(text);
    Cell* cell = value.get();
    ClassifyResult(r, std::move(value));
    EXPECT_TRUE(r.IsAllClear()) << text;
    const CellRef* entry = Globals().Find("");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->get(), cell);
  }
  Report r;
  ClassifyResult(r, MakeApp(L("J"), L("K"), L("x")));
  EXPECT_TRUE(r.IsAllClear());
  EXPECT_TRUE((*Globals().Find(""))->IsApp());
}

TEST_F(ClassifyResultTest, OtherValuesAreOutOfRange) {
  Report r;
  ClassifyResult(r, L("[abc]"));
  ExpectReport(r, "The program must return an integer. Instead we encountered:\n[abc]", "range",
               "", "[abc]", "");
  EXPECT_TRUE(Globals().empty());

  // the error tag leaf alone is not an error value: it shows as "()"
  Report tag;
  ClassifyResult(tag, L("]undefined"));
  EXPECT_EQ(tag.title, "range");
  EXPECT_EQ(tag.tip, "()");

  Report twozero;  // "00" fails the integer test
  ClassifyResult(twozero, L("00"));
  EXPECT_EQ(twozero.tip, "00");
}

TEST_F(ClassifyResultTest, RangeTipIsShortened) {
  Report r;
  ClassifyResult(r, MakeApp(L("f"), L(std::string(100, 'x'))));
  std::string shown = "(f " + std::string(100, 'x') + ")";
  EXPECT_EQ(r.say, "The program must return an integer. Instead we encountered:\n" + shown);
  EXPECT_EQ(r.tip, shown.substr(0, 71) + ")");
}

}  // namespace
}  // namespace mox
