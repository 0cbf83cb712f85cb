// Bracketed texts as lists: left, rght and leaf on text leaves, data
// applications and the list view ((V (X J)) y); buck, cape and zits and
// their escapes of "[", "]" and newline.
#include <string>

#include "core/memory.h"
#include "eval/apply_data.h"
#include "support/builtin_calls.h"
#include "values/lists.h"

namespace mox::builtin_test {
namespace {

using CompareLists = WithPrelude;

// What a data value applied to V becomes: ((V (X J)) list form).
CellRef ListView(const char* text) {
  CellRef data = L(text), v = L("V");
  return ApplyDataValue(data.get(), v.get());
}

TEST_F(CompareLists, TextLeavesFromTheEnd) {
  EXPECT_EQ(Text1("rght", L("[abc]")), "c");
  EXPECT_EQ(Text1("left", L("[abc]")), "[ab]");
  EXPECT_EQ(Text1("rght", L("[a[bc]]")), "[bc]");
  EXPECT_EQ(Text1("left", L("[a[bc]]")), "[a]");
  EXPECT_EQ(Text1("rght", L("[a[b[c]]d[e]]")), "[e]");
  EXPECT_EQ(Text1("left", L("[a[b[c]]d[e]]")), "[a[b[c]]d]");
  EXPECT_EQ(Text1("left", L("[a]")), "[]");
  EXPECT_EQ(Text1("rght", L("[]")), "Z");
  EXPECT_EQ(Text1("left", L("[]")), "Z");
  // An unmatched "]" is an element of its own: the text of that byte, never
  // the error-tag leaf "]".
  EXPECT_EQ(Text1("rght", L("[a]]")), "[[r]]");
  // So are the bytes whose one-byte leaf would be a blob, a real or a cycle
  // marker.
  EXPECT_EQ(Text1("rght", L("[a(]")), "[(]");
  EXPECT_EQ(Text1("rght", L("[a ]")), "[ ]");
  EXPECT_EQ(Text1("rght", L("[a)]")), "[)]");
  // Nor a newline (an empty vector) or a NUL (the empty leaf).
  EXPECT_EQ(Text1("rght", L("[a\n]")), "[\n]");
  EXPECT_EQ(Text1("rght", L(std::string("[a\0]", 4))), std::string("[\0]", 3));
}

TEST_F(CompareLists, OneByteElementsAreShared) {
  CellRef a = Call("rght", {L("[abc]").get()}), b = Call("rght", {L("[xyc]").get()});
  EXPECT_EQ(a.get(), b.get());
  EXPECT_EQ(Text2("raws", a, b), "K");
}

TEST_F(CompareLists, DeeplyNestedGroups) {
  const int depth = 100000;
  std::string group = std::string(depth, '[') + "x" + std::string(depth, ']');
  CellRef text = L("[ab" + group + "]");
  CellRef last = Call("rght", {text.get()});
  EXPECT_EQ(LeafView(last.get()), group);
  EXPECT_EQ(Text1("left", text), "[ab]");
  EXPECT_EQ(Text1("rght", last), std::string(depth - 1, '[') + "x" + std::string(depth - 1, ']'));
}

TEST_F(CompareLists, DataApplicationsSplitIntoTheirParts) {
  CellRef d = L("[ab]"), e = L("[c]");
  CellRef app = App(d.Copy(), e.Copy());
  EXPECT_EQ(Call("rght", {app.get()}).get(), e.get());
  EXPECT_EQ(Call("left", {app.get()}).get(), d.get());
  EXPECT_EQ(Text1("leaf", app), "H");
}

TEST_F(CompareLists, LeafTestsForTheEmptyList) {
  EXPECT_EQ(Text1("leaf", L("[]")), "K");
  EXPECT_EQ(Text1("leaf", L("[a]")), "H");
  EXPECT_EQ(Text1("leaf", ListView("[]")), "K");
  EXPECT_EQ(Text1("leaf", ListView("[a]")), "H");
  EXPECT_EQ(Text1("leaf", L("5")), "Z");
  EXPECT_EQ(Text1("leaf", Blob("")), "Z");
  EXPECT_EQ(Text1("leaf", App(L("K"), L("1"))), "Z");
  // The view is tested step by step: another head is no view.
  EXPECT_EQ(Text1("leaf", App(App(L("V"), App(L("X"), L("K"))), L("K"))), "Z");
}

TEST_F(CompareLists, ListViewTakenApart) {
  CellRef view = ListView("[a[bc]d]");
  EXPECT_EQ(Text1("rght", view), "d");
  CellRef init = Call("left", {view.get()});
  EXPECT_EQ(Text1("rght", init), "<app>");  // the list form of [bc]
  CellRef a_only = Call("left", {init.get()});
  EXPECT_EQ(Text1("rght", a_only), "a");
  CellRef empty = Call("left", {a_only.get()});
  EXPECT_EQ(Text1("leaf", empty), "K");
  EXPECT_EQ(Text1("rght", empty), "Z");
  EXPECT_EQ(Text1("left", empty), "Z");
}

TEST_F(CompareLists, BuckSignsAndFirstBytes) {
  EXPECT_EQ(Text1("buck", L("05")), "H");
  EXPECT_EQ(Text1("buck", L("0")), "K");
  EXPECT_EQ(Text1("buck", L("7")), "K");
  EXPECT_EQ(Text1("buck", L("000")), "H");  // numb -1
  EXPECT_EQ(Text1("buck", L("00")), "K");
  EXPECT_EQ(Text1("buck", L("002")), "K");
  EXPECT_EQ(Text1("buck", MakeReal(0.0)), "K");
  EXPECT_EQ(Text1("buck", MakeReal(-0.0)), "H");
  EXPECT_EQ(Text1("buck", Blob("[x")), "[[q]]");
  EXPECT_EQ(Text1("buck", Blob("]")), "[[r]]");
  EXPECT_EQ(Text1("buck", Blob("\n")), "[[p]]");
  EXPECT_EQ(Text1("buck", Blob("ab")), "[a]");
  EXPECT_EQ(Text1("buck", Blob("")), "Z");
  EXPECT_EQ(Text1("buck", L("[abc]")), "[ab]");
  EXPECT_EQ(Text1("buck", L("[]")), "Z");
  EXPECT_EQ(Text1("buck", Vec(L("1"))), "Z");
  EXPECT_EQ(Text1("buck", L("plus")), "Z");
}

TEST_F(CompareLists, CapeEscapesBrackets) {
  EXPECT_EQ(Text1("cape", Blob("a]b")), "[a[r]b]");
  EXPECT_EQ(Text1("cape", Blob(std::string_view("[\0\n", 3))), std::string("[[q]\0\n]", 7));
  EXPECT_EQ(Text1("cape", Blob("")), "[]");
  EXPECT_EQ(Text1("cape", L("[a]")), "Z");
  EXPECT_EQ(Text1("cape", L("65")), "Z");
}

TEST_F(CompareLists, ZitsOfCodesAndTexts) {
  EXPECT_EQ(Text1("zits", L("65")), "[A]");
  EXPECT_EQ(Text1("zits", L("91")), "[[q]]");
  EXPECT_EQ(Text1("zits", L("93")), "[[r]]");
  EXPECT_EQ(Text1("zits", L("321")), "[A]");  // low 8 bits
  EXPECT_EQ(Text1("zits", L("01")), "[\xff]");
  CellRef text = L("[abc]");
  EXPECT_EQ(Call("zits", {text.get()}).get(), text.get());
  EXPECT_EQ(Text1("zits", App(App(L("[a]"), L("[b]")), L("[]"))), "[a[b][]]");
  EXPECT_EQ(Text1("zits", L("001")), "Z");
}

TEST_F(CompareLists, ZitsOfOtherClasses) {
  EXPECT_EQ(Text1("zits", Blob("x[y")), "[x[q]y]");
  EXPECT_EQ(Text1("zits", MakeReal(1.5)), "[+1.5000000000000000e+0000]");
  EXPECT_EQ(Text1("zits", Vec(L("72"), L("105"), L("93"))), "[Hi[r]]");
  EXPECT_EQ(Text1("zits", Vec(L("72"), L("[i]"))), "Z");
  EXPECT_EQ(Text1("zits", Vec(L("72"), CellRef())), "Z");
  EXPECT_EQ(Text1("zits", ListView("[a[bc]d]")), "[a[bc]d]");
  EXPECT_EQ(Text1("zits", ListView("[]")), "[]");
  EXPECT_EQ(Text1("zits", L("plus")), "Z");
}

// Shared parts can make a written-out content far larger than its cells,
// and a repeat or a join as large as the program asks: each is bounded by
// the memory check alone, which answers "Z" here under a low ceiling.
TEST_F(CompareLists, WriteOutsRepeatsAndJoinsAskTheMemoryCheck) {
  constexpr size_t kCeiling = size_t{1} << 16;
  SetMemoryCeiling(kCeiling, [] {});
  CellRef doubled = L("[abcdefgh]");  // each level: d d, twice the content
  for (int i = 0; i < 14; ++i) doubled = App(doubled.Copy(), doubled.Copy());
  EXPECT_EQ(Text1("zits", doubled), "Z");
  const std::string wide(kCeiling, 'w');
  EXPECT_EQ(Text1("zits", ListView(("[" + wide + "]").c_str())), "Z");
  EXPECT_EQ(Text2("mult", L("[ab]"), L("40000")), "Z");
  EXPECT_EQ(Text2("plus", L(("[" + wide + "]").c_str()), L("[b]")), "Z");
  EXPECT_EQ(Text2("plus", Blob(wide), Blob("b")), "Z");
  // Below the ceiling they are built.
  EXPECT_EQ(Text2("mult", L("[ab]"), L("3")), "[ababab]");
  SetMemoryCeiling(0, nullptr);  // the machine's own again
}

}  // namespace
}  // namespace mox::builtin_test
