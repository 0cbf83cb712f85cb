// type, rank, wave and lisp on every value class.
#include <cmath>
#include <limits>

#include "support/builtin_calls.h"
#include "values/text_elements.h"

namespace mox::builtin_test {
namespace {

using Inspect = InspectTest;

TEST_F(Inspect, TypeNamesEveryClass) {
  EXPECT_EQ(Ans("type", L("05")), "[hint]");
  EXPECT_EQ(Ans("type", L("001")), "[numb]");
  EXPECT_EQ(Ans("type", L("[x]")), "[zits]");
  EXPECT_EQ(Ans("type", MakeApp(L("[a]"), L("[b]"))), "[zits]");
  EXPECT_EQ(Ans("type", L("()")), "[post]");
  EXPECT_EQ(Ans("type", Vec()), "[cray]");
  EXPECT_EQ(Ans("type", Real(0.5)), "[real]");
  EXPECT_EQ(Ans("type", Tree("(J K 2)")), "[hint]");
  EXPECT_EQ(Ans("type", Tree("(J H 2)")), "[numb]");
  EXPECT_EQ(Ans("type", Tree("(K 1)")), "[void]");
}

TEST_F(Inspect, TypeGivesOneCellPerName) {
  CellRef a = Call("type", L("5"));
  CellRef b = Call("type", L("0123"));
  CellRef c = Call("type", L("[5]"));
  EXPECT_EQ(a.get(), b.get());
  EXPECT_NE(a.get(), c.get());
}

TEST_F(Inspect, RankMeasuresEachClass) {
  EXPECT_EQ(Ans("rank", L("[abc]")), "3");
  EXPECT_EQ(Ans("rank", L("[a[bc]]")), "5");
  EXPECT_EQ(Ans("rank", Real(-2.0)), "8");
  EXPECT_EQ(Ans("rank", Vec()), "0");
  EXPECT_EQ(Ans("rank", Vec(L("1"), CellRef(), L("3"))), "3");
  EXPECT_EQ(Ans("rank", L("123")), "3");
  EXPECT_EQ(Ans("rank", L("05")), "2");
  EXPECT_EQ(Ans("rank", Blob(std::string_view("ab\0c", 4))), "4");
  EXPECT_EQ(Ans("rank", Tree("(J K 2)")), "1");  // the text "5"
  EXPECT_EQ(Ans("rank", Tree("(J K I)")), "Z");  // not a number
  EXPECT_EQ(Ans("rank", L("plus")), "Z");
}

TEST_F(Inspect, RankOfDataApplicationsCountsTheWrittenOutText) {
  EXPECT_EQ(Ans("rank", MakeApp(L("[ab]"), L("[c]"))), "5");  // ab[c]
  // Each level doubles the text; shared levels are measured once.
  CellRef x = L("[ab]");
  uint64_t expected = 2;
  for (int i = 0; i < 60; ++i) {
    x = MakeApp(x.Copy(), x.Copy());
    expected = 2 * expected + 2;
  }
  EXPECT_EQ(Ans("rank", std::move(x)), std::to_string(expected));
}

TEST_F(Inspect, WaveNegatesIntegers) {
  EXPECT_EQ(Ans("wave", L("0")), "0");
  EXPECT_EQ(Ans("wave", L("5")), "05");
  EXPECT_EQ(Ans("wave", L("05")), "5");
  EXPECT_EQ(Ans("wave", L("123456789012345678901234567890")), "0123456789012345678901234567890");
}

TEST_F(Inspect, WaveNegatesNumbsExactly) {
  EXPECT_EQ(Ans("wave", L("001")), "000");   // 1 -> -1
  EXPECT_EQ(Ans("wave", L("000")), "001");   // -1 -> 1
  EXPECT_EQ(Ans("wave", L("002")), "0000");  // 0.5 -> -0.5
  EXPECT_EQ(Ans("wave", L("00")), "00");     // zero has no sign
}

TEST_F(Inspect, WaveSwapsTheFlagOfAListFormNumber) {
  EXPECT_EQ(Ans("wave", Tree("(J K 2)")), "JH2");
  EXPECT_EQ(Ans("wave", Tree("(J H 2)")), "JK2");
}

TEST_F(Inspect, WaveFlipsTheSignBitOfReals) {
  double z = RealOf(Call("wave", Real(0.0)));
  EXPECT_TRUE(z == 0.0 && std::signbit(z));
  EXPECT_EQ(RealOf(Call("wave", Real(1.5))), -1.5);
  double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(BitsOf(RealOf(Call("wave", Real(nan)))), BitsOf(nan) ^ (uint64_t{1} << 63));
}

TEST_F(Inspect, WaveDropsTheFirstByteOfABlob) {
  EXPECT_EQ(Payload(Call("wave", Blob("abc"))), "bc");
  EXPECT_EQ(Payload(Call("wave", Blob("a"))), "");
  EXPECT_EQ(Ans("wave", Blob("")), "Z");
}

TEST_F(Inspect, WaveOfATextIsItsLastElement) {
  EXPECT_EQ(Ans("wave", L("[]")), "Z");
  EXPECT_EQ(Ans("wave", L("[abc]")), "c");
  EXPECT_EQ(Ans("wave", L("[a[bc]]")), "[bc]");
  EXPECT_EQ(Ans("wave", MakeApp(L("[a]"), L("[bc]"))), "[bc]");
  // one-byte elements are shared
  EXPECT_EQ(Call("wave", L("[ab]")).get(), Call("wave", L("[xb]")).get());
}

TEST_F(Inspect, WaveRefusesVectorsAndVoid) {
  EXPECT_EQ(Ans("wave", Vec(L("1"))), "Z");
  EXPECT_EQ(Ans("wave", Tree("(K 1)")), "Z");
}

TEST_F(Inspect, LispWrapsTheDisplayForm) {
  EXPECT_EQ(Ans("lisp", L("plus")), "[plus]");
  EXPECT_EQ(Ans("lisp", L("[abc]")), "[[abc]]");
  EXPECT_EQ(Ans("lisp", Tree("(f a b)")), "[(f a b)]");
  EXPECT_EQ(Ans("lisp", Real(1.5)), "[real[+1.5000000000000000e+0000]]");
  EXPECT_EQ(Ans("lisp", Vec(L("1"), L("2"))), "[(/ (/ cray 1) 2)]");
  EXPECT_EQ(Ans("lisp", Blob("a]")), "[cape[a[r]]]");
  EXPECT_EQ(ClassifyValue(Call("lisp", L("5")).get()), ValueClass::kText);
}

TEST_F(Inspect, LispEscapesLoneBrackets) {
  EXPECT_EQ(Ans("lisp", ByteElement('[')), "[[q]]");
  EXPECT_EQ(Ans("lisp", L("a]b")), "[a[r]b]");
  EXPECT_EQ(Ans("lisp", MakeApp(L("f"), L("a]"))), "[(f a[r])]");
  EXPECT_EQ(Ans("lisp", MakeApp(L("[a]"), L("b[c"))), "[([a] b[q]c)]");
}

TEST_F(Inspect, LispOfAMillionDeepList) {
  CellRef j = L("J"), list = L("K");
  for (int i = 0; i < 1000000; ++i) list = MakeApp(MakeApp(j.Copy(), L("H")), std::move(list));
  Text form = DisplayForm(list.get());
  CellRef r = Call("lisp", std::move(list));
  EXPECT_EQ(LeafView(r.get()), "[" + std::string(form.view()) + "]");
}

}  // namespace
}  // namespace mox::builtin_test
