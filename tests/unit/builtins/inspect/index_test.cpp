// look, cork and trim: the index rule, each class, and the vector write that
// other holders must not see.
#include "support/builtin_calls.h"

namespace mox::builtin_test {
namespace {

using Index = InspectTest;

CellRef Five() { return Vec(L("10"), L("11"), CellRef(), L("13"), L("14")); }

TEST_F(Index, LookIntoVectors) {
  EXPECT_EQ(Ans("look", Five(), L("0")), "10");
  EXPECT_EQ(Ans("look", Five(), L("01")), "14");
  EXPECT_EQ(Ans("look", Five(), L("5")), "Z");
  EXPECT_EQ(Ans("look", Five(), L("06")), "Z");
  EXPECT_EQ(Ans("look", Five(), L("2")), "Z");  // an empty slot
  EXPECT_EQ(Ans("look", Five(), Tree("(J K (J K (J K K)))")), "11");  // the list form of 1
  EXPECT_EQ(Ans("look", Five(), L("001")), "Z");
  EXPECT_EQ(Ans("look", Five(), L("[1]")), "Z");
}

TEST_F(Index, LookIntoTextsAndBlobs) {
  EXPECT_EQ(Ans("look", L("[AB]"), L("0")), "65");
  EXPECT_EQ(Ans("look", L("[AB]"), L("01")), "66");
  EXPECT_EQ(Ans("look", L("[AB]"), L("2")), "Z");
  EXPECT_EQ(Ans("look", L("[a[b]]"), L("1")), "91");
  EXPECT_EQ(Ans("look", MakeApp(L("[a]"), L("[b]")), L("01")), "93");
  EXPECT_EQ(Ans("look", Blob("\xff" "A"), L("0")), "255");
  EXPECT_EQ(Ans("look", Blob(""), L("0")), "Z");
}

TEST_F(Index, LookAtTheBitsOfReals) {
  EXPECT_EQ(Ans("look", Real(1.0), L("61")), "K");  // exponent 0x3FF
  EXPECT_EQ(Ans("look", Real(1.0), L("62")), "H");
  EXPECT_EQ(Ans("look", Real(2.0), L("62")), "K");
  EXPECT_EQ(Ans("look", Real(1.0), L("01")), "H");  // bit 63, the sign
  EXPECT_EQ(Ans("look", Real(-1.0), L("01")), "K");
  EXPECT_EQ(Ans("look", Real(0x1p-1074), L("064")), "K");  // bit 0
  EXPECT_EQ(Ans("look", Real(1.0), L("64")), "Z");
}

TEST_F(Index, LookAtTheBitsOfNumbers) {
  // "5" has the bit form 10111: class 1, sign 1, magnitude 101.
  const char* expected[] = {"K", "K", "K", "H", "K", "H"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Ans("look", L("5"), L(std::to_string(i))), expected[i]) << i;
  EXPECT_EQ(Ans("look", L("5"), L("1000")), "H");
  EXPECT_EQ(Ans("look", L("5"), L("01")), "K");  // the top bit
  EXPECT_EQ(Ans("look", L("5"), L("05")), "K");  // bit 0
  EXPECT_EQ(Ans("look", L("5"), L("06")), "Z");
  EXPECT_EQ(Ans("look", L("05"), L("1")), "H");  // negative
  EXPECT_EQ(Ans("look", L("00"), L("1")), "K");
  EXPECT_EQ(Ans("look", Tree("(J K 2)"), L("2")), "K");
  EXPECT_EQ(Ans("look", L("plus"), L("0")), "Z");
}

TEST_F(Index, CorkTexts) {
  EXPECT_EQ(Ans("cork", L("[abc]"), L("1"), L("120")), "[axc]");
  EXPECT_EQ(Ans("cork", L("[abc]"), L("01"), L("120")), "[abx]");
  EXPECT_EQ(Ans("cork", L("[abc]"), L("3"), L("120")), "Z");
  EXPECT_EQ(Ans("cork", L("[a[b]]"), L("1"), L("120")), "Z");  // would drop a "["
  EXPECT_EQ(Ans("cork", L("[abc]"), L("1"), L("91")), "Z");    // would add one
  EXPECT_EQ(Ans("cork", L("[abc]"), L("1"), L("256")), "Z");
  EXPECT_EQ(Ans("cork", L("[abc]"), L("1"), L("01")), "Z");
  EXPECT_EQ(Ans("cork", L("[abc]"), L("1"), L("18446744073709551736")), "Z");  // wraps to 120
  EXPECT_EQ(Ans("cork", L("[a[b]]"), L("2"), L("120")), "[a[x]]");
}

TEST_F(Index, CorkBlobsHaveNoBracketRule) {
  EXPECT_EQ(Payload(Call("cork", Blob("abc"), L("0"), L("91"))), "[bc");
  EXPECT_EQ(Payload(Call("cork", Blob("abc"), L("01"), L("0"))), std::string("ab\0", 3));
  EXPECT_EQ(Ans("cork", Blob("abc"), L("3"), L("65")), "Z");
  EXPECT_EQ(Ans("cork", Blob("abc"), L("0"), L("300")), "Z");
}

TEST_F(Index, CorkVectorCopiesWhenTheVectorIsShared) {
  CellRef v = Five();
  CellRef r = Call("cork", v.Copy(), L("2"), Tree("(K 1)"));
  EXPECT_NE(r.get(), v.get());
  EXPECT_EQ(Show(r), "(/ (/ (/ (/ (/ cray 10) 11) K1) 13) 14)");
  EXPECT_EQ(Show(v), "(/ (/ (/ (/ (/ cray 10) 11) U) 13) 14)");
  EXPECT_EQ(Ans("cork", v.Copy(), L("5"), L("1")), "Z");
  EXPECT_EQ(Ans("cork", v.Copy(), L("[0]"), L("1")), "Z");
}

TEST_F(Index, CorkVectorWritesInPlaceWhenNothingElseHoldsIt) {
  CellRef v = Five();
  Cell* cell = v.get();
  CellRef r = Call("cork", std::move(v), L("01"), L("7"));
  EXPECT_EQ(r.get(), cell);
  EXPECT_EQ(Show(r), "(/ (/ (/ (/ (/ cray 10) 11) U) 13) 7)");
  EXPECT_EQ(r->Count(), 1u);
}

TEST_F(Index, CorkBitsOfNumbers) {
  EXPECT_EQ(Ans("cork", L("5"), L("3"), L("K")), "7");
  EXPECT_EQ(Ans("cork", L("5"), L("1"), L("H")), "05");
  EXPECT_EQ(Ans("cork", L("5"), L("0"), L("H")), "005");  // now a numb
  EXPECT_EQ(Ans("cork", L("5"), L("01"), L("H")), "1");
  // A negative zero has no text, in either class.
  EXPECT_EQ(Ans("cork", L("0"), L("1"), L("H")), "Z");
  EXPECT_EQ(Ans("cork", L("00"), L("1"), L("H")), "Z");
  EXPECT_EQ(Ans("cork", Tree("(J K 2)"), L("3"), L("K")), "7");
  EXPECT_EQ(Ans("cork", L("5"), L("06"), L("K")), "Z");
  EXPECT_EQ(Ans("cork", L("5"), L("4294967296"), L("K")), "Z");
  EXPECT_EQ(Ans("cork", L("5"), L("3"), L("I")), "Z");
}

TEST_F(Index, CorkBitsOfReals) {
  EXPECT_EQ(RealOf(Call("cork", Real(1.0), L("01"), L("K"))), -1.0);
  EXPECT_EQ(RealOf(Call("cork", Real(-1.0), L("63"), L("H"))), 1.0);
  EXPECT_EQ(Ans("cork", Real(1.0), L("64"), L("K")), "Z");
  EXPECT_EQ(Ans("cork", Real(1.0), L("0"), L("1")), "Z");
  EXPECT_EQ(Ans("cork", L("plus"), L("0"), L("K")), "Z");
}

TEST_F(Index, TrimTexts) {
  EXPECT_EQ(Ans("trim", L("[abcdef]"), L("1"), L("3")), "[bc]");
  EXPECT_EQ(Ans("trim", L("[abcdef]"), L("02"), L("6")), "[ef]");
  EXPECT_EQ(Ans("trim", L("[abcdef]"), L("3"), L("3")), "[]");
  EXPECT_EQ(Ans("trim", L("[abcdef]"), L("9"), L("9")), "[]");  // equal positions first
  EXPECT_EQ(Ans("trim", L("[abcdef]"), L("4"), L("2")), "Z");
  EXPECT_EQ(Ans("trim", L("[abcdef]"), L("0"), L("7")), "Z");
  EXPECT_EQ(Ans("trim", L("[abcdef]"), L("07"), L("2")), "Z");
  EXPECT_EQ(Ans("trim", MakeApp(L("[ab]"), L("[c]")), L("1"), L("5")), "[b[c]]");
}

TEST_F(Index, TrimKeepsTextsBalanced) {
  // content a[bc]d
  EXPECT_EQ(Ans("trim", L("[a[bc]d]"), L("1"), L("5")), "[[bc]]");
  EXPECT_EQ(Ans("trim", L("[a[bc]d]"), L("0"), L("6")), "[a[bc]d]");
  EXPECT_EQ(Ans("trim", L("[a[bc]d]"), L("0"), L("3")), "Z");
  EXPECT_EQ(Ans("trim", L("[a[bc]d]"), L("2"), L("5")), "Z");
  EXPECT_EQ(Ans("trim", L("[a[bc]d]"), L("2"), L("4")), "[bc]");
  EXPECT_EQ(Ans("trim", L("[[a][b]]"), L("2"), L("5")), "Z");  // "][b"
}

TEST_F(Index, TrimBlobsAndVectors) {
  EXPECT_EQ(Payload(Call("trim", Blob("abcdef"), L("1"), L("3"))), "bc");
  EXPECT_EQ(Payload(Call("trim", Blob("a]cdef"), L("1"), L("3"))), "]c");
  EXPECT_EQ(Ans("trim", Five(), L("1"), L("3")), "(/ (/ cray 11) U)");
  EXPECT_EQ(Ans("trim", Five(), L("02"), L("5")), "(/ (/ cray 13) 14)");
  EXPECT_EQ(Ans("trim", Five(), L("2"), L("2")), "cray");
  EXPECT_EQ(Ans("trim", Five(), L("2"), L("6")), "Z");
  EXPECT_EQ(Ans("trim", L("5"), L("0"), L("1")), "Z");
  EXPECT_EQ(Ans("trim", Real(1.0), L("0"), L("1")), "Z");
}

}  // namespace
}  // namespace mox::builtin_test
