// lots: the J-list of every class, and long lists built without recursion.
#include "support/builtin_calls.h"
#include "values/mpz_text.h"
#include "values/number_bits.h"

namespace mox::builtin_test {
namespace {

using Lots = InspectTest;

// The elements of a J-list as texts joined by spaces, with "|" + the final
// tail; "" when c is not a list.
std::string Elements(const Cell* c) {
  std::string out;
  while (c->IsApp() && c->f->IsApp() && IsLeafText(c->f->f, "J")) {
    if (!out.empty()) out += ' ';
    out += DisplayForm(c->f->a).view();
    c = c->a;
  }
  return out + "|" + std::string(DisplayForm(c).view());
}

TEST_F(Lots, RealGivesItsSixtyFourBitsLowFirst) {
  std::string expected;
  uint64_t bits = BitsOf(-2.5);
  for (int i = 0; i < 64; ++i) expected += std::string(i ? " " : "") + (((bits >> i) & 1) ? "K" : "H");
  EXPECT_EQ(Elements(Call("lots", Real(-2.5)).get()), expected + "|K");
}

TEST_F(Lots, NumbersGiveTheirBitForm) {
  EXPECT_EQ(Elements(Call("lots", L("5")).get()), "K K K H K|K");
  EXPECT_EQ(Elements(Call("lots", L("05")).get()), "K H K H K|K");
  EXPECT_EQ(Elements(Call("lots", L("0")).get()), "K K|K");
  EXPECT_EQ(Elements(Call("lots", L("00")).get()), "H K|K");
  EXPECT_EQ(Elements(Call("lots", Tree("(J K 2)")).get()), "K K K H K|K");
}

TEST_F(Lots, TextsAndBlobsGiveTheirBytes) {
  EXPECT_EQ(Elements(Call("lots", L("[a[b]]")).get()), "97 91 98 93|K");
  EXPECT_EQ(Elements(Call("lots", Blob(std::string_view("\xff\0", 2))).get()), "255 0|K");
  EXPECT_EQ(Ans("lots", L("[]")), "K");
  EXPECT_EQ(Ans("lots", Blob("")), "K");
}

TEST_F(Lots, VectorsGiveTheirChildren) {
  EXPECT_EQ(Elements(Call("lots", Vec(L("1"), CellRef(), L("[x]"))).get()), "1 Z [x]|K");
  EXPECT_EQ(Ans("lots", Vec()), "K");
  EXPECT_EQ(Ans("lots", L("plus")), "Z");
  EXPECT_EQ(Ans("lots", Tree("(J K I)")), "Z");
}

TEST_F(Lots, LongListsAreBuiltAndReadIteratively) {
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
