// type, rank, wave and lisp on every value class (the plain cases of each are
// pinned by tests/programs/inspect).
#include <cmath>
#include <limits>

#include "support/builtin_calls.h"
#include "values/text_elements.h"

namespace mox::builtin_test {
namespace {

using Inspect = InspectTest;

TEST_F(Inspect, LeavesAndListForms) {
  ExpectAnswers({
      {"type", {"([a] [b])"}, "[zits]"}, {"type", {"(J K 2)"}, "[hint]"},
      {"type", {"(J H 2)"}, "[numb]"}, {"type", {"(K 1)"}, "[void]"},
      {"rank", {"[a[bc]]"}, "5"}, {"rank", {"123"}, "3"}, {"rank", {"(J K 2)"}, "1"},  // the text "5"
      {"rank", {"(J K I)"}, "Z"}, {"rank", {"plus"}, "Z"},
      // wave: numbs negated exactly (zero has no sign), a list form's flag swapped
      {"wave", {"123456789012345678901234567890"}, "0123456789012345678901234567890"},
      {"wave", {"001"}, "000"}, {"wave", {"000"}, "001"}, {"wave", {"002"}, "0000"}, {"wave", {"00"}, "00"},
      {"wave", {"(J K 2)"}, "JH2"}, {"wave", {"(J H 2)"}, "JK2"}, {"wave", {"(K 1)"}, "Z"},
      // wave of a text: its last element
      {"wave", {"[]"}, "Z"}, {"wave", {"[abc]"}, "c"}, {"wave", {"([a] [bc])"}, "[bc]"},
  });
  EXPECT_EQ(Call("wave", L("[ab]")).get(), Call("wave", L("[xb]")).get());  // one-byte elements are shared
}

TEST_F(Inspect, VectorsRealsAndBlobs) {
  EXPECT_EQ(Ans("type", L("()")), "[post]");
  EXPECT_EQ(Ans("type", Vec()), "[cray]");
  EXPECT_EQ(Ans("rank", Vec(L("1"), CellRef(), L("3"))), "3");
  EXPECT_EQ(Ans("rank", Blob(std::string_view("ab\0c", 4))), "4");
  EXPECT_EQ(Ans("wave", Vec(L("1"))), "Z");
  double z = RealOf(Call("wave", Real(0.0)));
  EXPECT_TRUE(z == 0.0 && std::signbit(z));
  double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(BitsOf(RealOf(Call("wave", Real(nan)))), BitsOf(nan) ^ (uint64_t{1} << 63));
  EXPECT_EQ(Payload(Call("wave", Blob("abc"))), "bc");  // drops the first byte
  EXPECT_EQ(Payload(Call("wave", Blob("a"))), "");
  EXPECT_EQ(Ans("wave", Blob("")), "Z");
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

TEST_F(Inspect, LispWrapsTheDisplayFormEscapingLoneBrackets) {
  EXPECT_EQ(Ans("lisp", Tree("(f a b)")), "[(f a b)]");
  EXPECT_EQ(Ans("lisp", Real(1.5)), "[real[+1.5000000000000000e+0000]]");
  EXPECT_EQ(Ans("lisp", Blob("a]")), "[cape[a[r]]]");
  EXPECT_EQ(ClassifyValue(Call("lisp", L("5")).get()), ValueClass::kText);
  EXPECT_EQ(Ans("lisp", ByteElement('[')), "[[q]]");
  EXPECT_EQ(Ans("lisp", L("a]b")), "[a[r]b]");
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
