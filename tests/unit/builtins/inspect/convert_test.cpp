// real, init, lits and lots: the class rules, the special reals, the round
// trips through lots, and long lists built and read without recursion.
#include <cfloat>
#include <cmath>
#include <limits>

#include "support/builtin_calls.h"
#include "values/mpz_text.h"
#include "values/number_bits.h"

namespace mox::builtin_test {
namespace {

using Convert = InspectTest;

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST_F(Convert, RealOfNumbersAndTexts) {
  CellRef r = Real(2.5);
  Cell* same = r.get();
  EXPECT_EQ(Call("real", std::move(r)).get(), same);
  EXPECT_EQ(RealOf(Call("real", L("123456789012345678901234567890"))), 1.2345678901234568e29);
  EXPECT_EQ(RealOf(Call("real", Tree("(J K 2)"))), 5.0);
  EXPECT_EQ(RealOf(Call("real", L("002"))), 0.5);
  EXPECT_EQ(RealOf(Call("real", Blob("2.5xyz"))), 2.5);
  EXPECT_EQ(RealOf(Call("real", Blob(std::string_view("1\0" "9", 3)))), 1.0);
  EXPECT_EQ(RealOf(Call("real", L("[1e3]"))), 1000.0);
  EXPECT_EQ(RealOf(Call("real", MakeApp(L("[7]"), L("[2]")))), 7.0);  // "7[2]"
  EXPECT_EQ(Ans("real", Vec(L("1"))), "Z");
  EXPECT_EQ(Ans("real", L("plus")), "Z");
}

TEST_F(Convert, InitMakesBlobs) {
  CellRef b = Blob("xy");
  Cell* same = b.get();
  EXPECT_EQ(Call("init", std::move(b)).get(), same);
  EXPECT_EQ(Payload(Call("init", Real(1.0))), std::string("\0\0\0\0\0\0\xf0\x3f", 8));
  EXPECT_EQ(Payload(Call("init", L("0300"))), "\xd4");  // -300, low 8 bits
  EXPECT_EQ(Payload(Call("init", L("[a[b]]"))), "a[b]");
  EXPECT_EQ(Payload(Call("init", L("K"))), "");  // the empty list of byte values
  ExpectAnswers({
      {"init", {"001"}, "Z"}, {"init", {"(K 1)"}, "Z"}, {"init", {"(J 104 (J 256 K))"}, "Z"},  // not a byte
      {"init", {"(J 104 (J 05 K))"}, "Z"}, {"init", {"(J 104 H)"}, "Z"},  // not ended by K
  });
  EXPECT_EQ(Ans("init", Vec()), "Z");
}

TEST_F(Convert, LitsOfRealsIsExact) {
  EXPECT_EQ(Ans("lits", Real(-5.0)), "0008");
  EXPECT_EQ(Ans("lits", Real(0.75)), "0010");
  EXPECT_EQ(Ans("lits", Real(-0.0)), "00");
  EXPECT_EQ(Ans("lits", Real(std::nan(""))), "00");
  for (double d : {1.0 / 3, -DBL_MAX, DBL_MIN, 5e-324, -1e300, 123456.789, 0x1p-1074 * 3, kInf, -kInf}) {
    CellRef n = Call("lits", Real(d));
    EXPECT_EQ(ClassifyValue(n.get()), ValueClass::kNumb) << d;
    EXPECT_EQ(RealOf(Call("real", std::move(n))), d) << d;
  }
  // the two infinities give numbs of opposite sign
  EXPECT_EQ(Ans("wave", Call("lits", Real(-kInf))), Ans("lits", Real(kInf)));
}

TEST_F(Convert, LitsOfBytesAndListForms) {
  EXPECT_EQ(Ans("lits", Blob("\xff\xff\xff\xff\xff\xff\xff\xff")), "01");  // a little-endian word
  EXPECT_EQ(Ans("lits", Blob("ABCDEFGH-ignored")), Ans("lits", Blob("ABCDEFGH")));
  EXPECT_EQ(Ans("lits", MakeApp(L("[A]"), L("[]"))), Ans("lits", L("[A[]]")));
  ExpectAnswers({
      {"lits", {"[A]"}, "65"}, {"lits", {"[]"}, "0"}, {"lits", {"5"}, "JK2"},
      {"lits", {"(J K (J K (J H (J K K))))"}, "2"}, {"lits", {"(J K I)"}, "Z"}, {"lits", {"plus"}, "Z"},
  });
  for (const char* text : {"0", "05", "98765432109876543210987654321", "00", "001", "0008"}) {
    EXPECT_EQ(Ans("lits", Call("lits", L(text))), text) << text;
  }
}

TEST_F(Convert, RoundTripsThroughLots) {
  for (double d : {0.0, -0.0, 1.5, -kInf, std::nan("7"), 5e-324}) {
    EXPECT_EQ(BitsOf(RealOf(Call("real", Call("lots", Real(d))))), BitsOf(d)) << d;
  }
  std::string bytes("a\0[]\xff", 5);
  EXPECT_EQ(Payload(Call("init", Call("lots", Blob(bytes)))), bytes);
  EXPECT_EQ(Payload(Call("init", Call("lots", L("[x[y]]")))), "x[y]");
  EXPECT_EQ(Ans("lits", Call("lots", L("012345678901234567890"))), "012345678901234567890");
}

// The elements of a J-list as texts joined by spaces, with "|" + the final
// tail.
std::string Elements(const CellRef& list) {
  std::string out;
  const Cell* c = list.get();
  for (; c->IsApp() && c->f->IsApp() && IsLeafText(c->f->f, "J"); c = c->a) {
    out += std::string(out.empty() ? "" : " ") + std::string(DisplayForm(c->f->a).view());
  }
  return out + "|" + std::string(DisplayForm(c).view());
}

TEST_F(Convert, LotsOfEachClass) {
  std::string expected;  // a real's 64 bits, low first
  for (int i = 0; i < 64; ++i) expected += std::string(i ? " " : "") + (((BitsOf(-2.5) >> i) & 1) ? "K" : "H");
  EXPECT_EQ(Elements(Call("lots", Real(-2.5))), expected + "|K");
  EXPECT_EQ(Elements(Call("lots", L("05"))), "K H K H K|K");  // the bit form
  EXPECT_EQ(Elements(Call("lots", L("00"))), "H K|K");
  EXPECT_EQ(Elements(Call("lots", Tree("(J K 2)"))), "K K K H K|K");
  EXPECT_EQ(Elements(Call("lots", L("[a[b]]"))), "97 91 98 93|K");
  EXPECT_EQ(Elements(Call("lots", Blob(std::string_view("\xff\0", 2)))), "255 0|K");
  EXPECT_EQ(Elements(Call("lots", Vec(L("1"), CellRef(), L("[x]")))), "1 Z [x]|K");
  ExpectAnswers({{"lots", {"[]"}, "K"}, {"lots", {"plus"}, "Z"}, {"lots", {"(J K I)"}, "Z"}});
  EXPECT_EQ(Ans("lots", Blob("")), "K");
  EXPECT_EQ(Ans("lots", Vec()), "K");
}

TEST_F(Convert, LongListsAreBuiltAndReadIteratively) {
  // 2^1000000 has a bit form of a million and three bits.
  Mpz bits;
  mpz_set_ui(bits.z, 1);
  mpz_mul_2exp(bits.z, bits.z, 1000002);
  mpz_setbit(bits.z, 1);
  mpz_setbit(bits.z, 0);
  CellRef big = NumberTextOfBits(bits.z);
  std::string text(LeafView(big.get()));
  CellRef list = Call("lots", std::move(big));
  EXPECT_EQ(Ans("lits", list.Copy()), text);
  EXPECT_EQ(Ans("look", std::move(list), L("01")), "K");  // read as the same number
  std::string bytes(1000000, 'q');
  EXPECT_EQ(Payload(Call("init", Call("lots", Blob(bytes)))), bytes);
}

}  // namespace
}  // namespace mox::builtin_test
