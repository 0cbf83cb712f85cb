// look, cork and trim: the index rule and its refusals in each class, the
// bracket rules of texts, and the vector write that other holders must not
// see (the plain cases are pinned by tests/programs/inspect).
#include "support/builtin_calls.h"

namespace mox::builtin_test {
namespace {

using Index = InspectTest;

CellRef Five() { return Vec(L("10"), L("11"), CellRef(), L("13"), L("14")); }

TEST_F(Index, LookIntoEachClass) {
  ExpectAnswers({
      {"look", {"[AB]", "2"}, "Z"}, {"look", {"[a[b]]", "1"}, "91"}, {"look", {"([a] [b])", "01"}, "93"},
      // "5" has the bit form 10111: class 1, sign 1, magnitude 101
      {"look", {"5", "3"}, "H"}, {"look", {"5", "1000"}, "H"}, {"look", {"5", "01"}, "K"},  // the top bit
      {"look", {"5", "05"}, "K"}, {"look", {"5", "06"}, "Z"}, {"look", {"00", "1"}, "K"},
      {"look", {"(J K 2)", "2"}, "K"}, {"look", {"plus", "0"}, "Z"},
  });
  EXPECT_EQ(Ans("look", Five(), L("01")), "14");
  EXPECT_EQ(Ans("look", Five(), L("06")), "Z");
  EXPECT_EQ(Ans("look", Five(), L("2")), "Z");  // an empty slot
  EXPECT_EQ(Ans("look", Five(), Tree("(J K (J K (J K K)))")), "11");  // the list form of 1
  EXPECT_EQ(Ans("look", Five(), L("001")), "Z");
  EXPECT_EQ(Ans("look", Blob("\xff" "A"), L("0")), "255");
  EXPECT_EQ(Ans("look", Blob(""), L("0")), "Z");
  EXPECT_EQ(Ans("look", Real(1.0), L("61")), "K");  // exponent 0x3FF
  EXPECT_EQ(Ans("look", Real(1.0), L("62")), "H");
  EXPECT_EQ(Ans("look", Real(0x1p-1074), L("064")), "K");  // bit 0
  EXPECT_EQ(Ans("look", Real(1.0), L("64")), "Z");
}

TEST_F(Index, CorkTextsAndNumbers) {
  ExpectAnswers({
      {"cork", {"[abc]", "01", "120"}, "[abx]"}, {"cork", {"[abc]", "3", "120"}, "Z"},
      {"cork", {"[a[b]]", "1", "120"}, "Z"},  // would drop a "["
      {"cork", {"[abc]", "1", "91"}, "Z"},    // would add one
      {"cork", {"[abc]", "1", "256"}, "Z"}, {"cork", {"[abc]", "1", "01"}, "Z"},
      {"cork", {"[abc]", "1", "18446744073709551736"}, "Z"},  // no wrapping to 120
      {"cork", {"[a[b]]", "2", "120"}, "[a[x]]"},
      {"cork", {"5", "1", "H"}, "05"}, {"cork", {"5", "0", "H"}, "005"},  // now a numb
      {"cork", {"5", "01", "H"}, "1"}, {"cork", {"(J K 2)", "3", "K"}, "7"},
      {"cork", {"0", "1", "H"}, "Z"}, {"cork", {"00", "1", "H"}, "Z"},  // no negative zero
      {"cork", {"5", "06", "K"}, "Z"}, {"cork", {"5", "4294967296", "K"}, "Z"}, {"cork", {"5", "3", "I"}, "Z"},
      {"cork", {"plus", "0", "K"}, "Z"},
  });
}

TEST_F(Index, CorkBlobsAndReals) {
  EXPECT_EQ(Payload(Call("cork", Blob("abc"), L("0"), L("91"))), "[bc");  // no bracket rule
  EXPECT_EQ(Payload(Call("cork", Blob("abc"), L("01"), L("0"))), std::string("ab\0", 3));
  EXPECT_EQ(Ans("cork", Blob("abc"), L("3"), L("65")), "Z");
  EXPECT_EQ(Ans("cork", Blob("abc"), L("0"), L("300")), "Z");
  EXPECT_EQ(RealOf(Call("cork", Real(1.0), L("01"), L("K"))), -1.0);
  EXPECT_EQ(RealOf(Call("cork", Real(-1.0), L("63"), L("H"))), 1.0);
  EXPECT_EQ(Ans("cork", Real(1.0), L("64"), L("K")), "Z");
  EXPECT_EQ(Ans("cork", Real(1.0), L("0"), L("1")), "Z");
}

TEST_F(Index, CorkVectorCopiesOnlyWhenShared) {
  CellRef v = Five();
  CellRef r = Call("cork", v.Copy(), L("2"), Tree("(K 1)"));
  EXPECT_EQ(Show(r), "(/ (/ (/ (/ (/ cray 10) 11) K1) 13) 14)");
  EXPECT_EQ(Show(v), "(/ (/ (/ (/ (/ cray 10) 11) U) 13) 14)");
  EXPECT_EQ(Ans("cork", v.Copy(), L("5"), L("1")), "Z");
  EXPECT_EQ(Ans("cork", v.Copy(), L("[0]"), L("1")), "Z");
  Cell* cell = v.get();
  r = Call("cork", std::move(v), L("01"), L("7"));
  EXPECT_EQ(r.get(), cell);  // nothing else held it: written in place
  EXPECT_EQ(Show(r), "(/ (/ (/ (/ (/ cray 10) 11) U) 13) 7)");
  EXPECT_EQ(r->Count(), 1u);
}

TEST_F(Index, TrimKeepsTextsBalanced) {
  ExpectAnswers({
      {"trim", {"[abcdef]", "9", "9"}, "[]"},  // equal positions first
      {"trim", {"[abcdef]", "4", "2"}, "Z"}, {"trim", {"[abcdef]", "0", "7"}, "Z"},
      {"trim", {"[abcdef]", "07", "2"}, "Z"}, {"trim", {"([ab] [c])", "1", "5"}, "[b[c]]"},
      {"trim", {"[a[bc]d]", "0", "6"}, "[a[bc]d]"}, {"trim", {"[a[bc]d]", "2", "5"}, "Z"},
      {"trim", {"[a[bc]d]", "2", "4"}, "[bc]"}, {"trim", {"[[a][b]]", "2", "5"}, "Z"},  // "][b"
      {"trim", {"5", "0", "1"}, "Z"},
  });
  EXPECT_EQ(Payload(Call("trim", Blob("a]cdef"), L("1"), L("3"))), "]c");
  EXPECT_EQ(Ans("trim", Five(), L("1"), L("3")), "(/ (/ cray 11) U)");
  EXPECT_EQ(Ans("trim", Five(), L("2"), L("2")), "cray");
  EXPECT_EQ(Ans("trim", Five(), L("2"), L("6")), "Z");
  EXPECT_EQ(Ans("trim", Real(1.0), L("0"), L("1")), "Z");
}

}  // namespace
}  // namespace mox::builtin_test
