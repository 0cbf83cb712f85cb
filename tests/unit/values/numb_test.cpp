// Exact binary numbers and the shared bit form: texts both ways, exact
// arithmetic against rational arithmetic, list forms.
#include <gmp.h>
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/memory.h"
#include "values/numb.h"
#include "values/number_bits.h"

namespace mox {
namespace {

std::string Text(const CellRef& c) { return c ? std::string(LeafView(c.get())) : std::string("<null>"); }

std::string NumbText(long mantissa, uint64_t scale) {
  Numb n;
  mpz_set_si(n.mantissa.z, mantissa);
  n.scale = scale;
  return Text(NumbLeaf(n));
}

// The exact value of a numb as a rational.
void ToRational(const Numb& n, mpq_t q) {
  mpq_set_z(q, n.mantissa.z);
  mpq_div_2exp(q, q, n.scale);
}

TEST(NumbersNumb, TextsOfSmallValues) {
  EXPECT_EQ(NumbText(0, 0), "00");
  EXPECT_EQ(NumbText(1, 0), "001");
  EXPECT_EQ(NumbText(2, 0), "004");
  EXPECT_EQ(NumbText(3, 0), "005");
  EXPECT_EQ(NumbText(1, 1), "002");
  EXPECT_EQ(NumbText(1, 2), "008");
  EXPECT_EQ(NumbText(3, 1), "003");
  EXPECT_EQ(NumbText(-1, 0), "000");
  EXPECT_EQ(NumbText(-1, 1), "0000");
  EXPECT_EQ(NumbText(-3, 0), "0002");
  EXPECT_EQ(NumbText(-2, 0), "00000");
}

TEST(NumbersNumb, TextsReadBack) {
  std::mt19937_64 gen(7);
  for (int i = 0; i < 400; ++i) {
    Numb n, back;
    int bits = 1 + static_cast<int>(gen() % 300);
    mpz_set_ui(n.mantissa.z, 0);
    for (int k = 0; k < bits; k += 64) {
      mpz_mul_2exp(n.mantissa.z, n.mantissa.z, 64);
      mpz_add_ui(n.mantissa.z, n.mantissa.z, gen());
    }
    mpz_setbit(n.mantissa.z, 0);  // odd: normalised for any scale
    if (gen() % 2) mpz_neg(n.mantissa.z, n.mantissa.z);
    n.scale = gen() % 200;
    std::string text = Text(NumbLeaf(n));
    NumbFromText(text, &back);
    EXPECT_EQ(mpz_cmp(back.mantissa.z, n.mantissa.z), 0) << text;
    EXPECT_EQ(back.scale, n.scale) << text;
    EXPECT_EQ(Text(NumbLeaf(back)), text);
  }
}

TEST(NumbersNumb, ArithmeticIsExact) {
  std::mt19937_64 gen(11);
  for (int i = 0; i < 300; ++i) {
    Numb a, b, r;
    mpz_set_si(a.mantissa.z, static_cast<long>(gen() % 2000001) - 1000000);
    mpz_set_si(b.mantissa.z, static_cast<long>(gen() % 2001) - 1000);
    mpz_mul_2exp(a.mantissa.z, a.mantissa.z, gen() % 70);  // large values too
    a.scale = gen() % 90;
    b.scale = gen() % 90;
    // normalise by a text round trip
    NumbFromText(Text(NumbLeaf(a)), &a);
    NumbFromText(Text(NumbLeaf(b)), &b);
    mpq_t qa, qb, want, got;
    mpq_inits(qa, qb, want, got, nullptr);
    ToRational(a, qa);
    ToRational(b, qb);
    NumbAdd(a, b, &r);
    mpq_add(want, qa, qb);
    ToRational(r, got);
    EXPECT_TRUE(mpq_equal(want, got));
    NumbSubtract(a, b, &r);
    mpq_sub(want, qa, qb);
    ToRational(r, got);
    EXPECT_TRUE(mpq_equal(want, got));
    NumbMultiply(a, b, &r);
    mpq_mul(want, qa, qb);
    ToRational(r, got);
    EXPECT_TRUE(mpq_equal(want, got));
    if (mpz_sgn(b.mantissa.z) != 0) {
      ASSERT_TRUE(NumbRemainder(a, b, &r));
      ToRational(r, got);
      // 0 <= r < |b|, and a - r is a multiple of b for b > 0, a + r for b < 0.
      mpq_abs(want, qb);
      EXPECT_GE(mpq_sgn(got), 0);
      EXPECT_LT(mpq_cmp(got, want), 0);
      mpq_t k;
      mpq_init(k);
      if (mpz_sgn(b.mantissa.z) > 0) mpq_sub(k, qa, got); else mpq_add(k, qa, got);
      mpq_div(k, k, qb);
      EXPECT_EQ(mpz_cmp_ui(mpq_denref(k), 1), 0);
      mpq_clear(k);
    } else {
      EXPECT_FALSE(NumbRemainder(a, b, &r));
    }
    mpq_clears(qa, qb, want, got, nullptr);
  }
}

TEST(NumbersNumb, RemainderSignsFollowTheIntegerRule) {
  auto rem = [](const char* a, const char* b) {
    Numb x, y, r;
    NumbFromText(a, &x);
    NumbFromText(b, &y);
    return NumbRemainder(x, y, &r) ? Text(NumbLeaf(r)) : "<none>";
  };
  // 7 = "00" + spread(7) = 21; 3 = "005"; -7 = "000" + (21 >> 1) = "00010".
  EXPECT_EQ(rem("0021", "005"), "001");     // 7 mod 3 = 1
  EXPECT_EQ(rem("00010", "005"), "004");    // -7 mod 3 = 2
  EXPECT_EQ(rem("0021", "0002"), "004");    // 7 mod -3 = 2
  EXPECT_EQ(rem("00010", "0002"), "001");   // -7 mod -3 = 1
  EXPECT_EQ(rem("003", "002"), "00");       // 1.5 mod 0.5 = 0
  EXPECT_EQ(rem("003", "00"), "<none>");
}

TEST(NumbersNumb, PowersAndIntegers) {
  Numb two, r, i;
  NumbFromText("004", &two);
  ASSERT_TRUE(NumbPower(two, 10, &r));
  NumbFromInteger(ReadIntText("1024"), &i);
  EXPECT_EQ(Text(NumbLeaf(r)), Text(NumbLeaf(i)));
  ASSERT_TRUE(NumbPower(two, 0, &r));
  EXPECT_EQ(Text(NumbLeaf(r)), "001");
  Numb half;
  NumbFromText("002", &half);
  ASSERT_TRUE(NumbPower(half, 3, &r));
  EXPECT_EQ(Text(NumbLeaf(r)), NumbText(1, 3));
  SetMemoryCeiling(size_t{1} << 20, [] {});  // refuses: 2^40 squarings of a half are terabytes
  EXPECT_FALSE(NumbPower(half, uint64_t{1} << 40, &r));
  SetMemoryCeiling(0, nullptr);
  NumbFromInteger(ReadIntText("03"), &i);
  EXPECT_EQ(Text(NumbLeaf(i)), "0002");
}

TEST(NumbersNumb, DoublesRoundToNearest) {
  auto value = [](const char* mantissa, uint64_t scale) {
    Numb n;
    mpz_set_str(n.mantissa.z, mantissa, 10);
    n.scale = scale;
    return NumbToDouble(n);
  };
  EXPECT_EQ(value("0", 0), 0.0);
  EXPECT_EQ(value("1", 1), 0.5);
  EXPECT_EQ(value("-3", 2), -0.75);
  EXPECT_EQ(value("9007199254740993", 0), 9007199254740992.0);  // 2^53 + 1: tie to even
  // (2^53 + 1) * 2^20 + 1 is just above the tie: rounds up.
  EXPECT_EQ(value("9444732965739291475969", 20), 9007199254740994.0);
  EXPECT_EQ(value("1", 1100), 0.0);
  std::string huge = "1" + std::string(400, '0');
  EXPECT_TRUE(std::isinf(value(huge.c_str(), 0)));
}

// ---- the bit form -------------------------------------------------------

unsigned long Bits(const char* text) {
  Mpz b;
  NumberBitsOfText(text, b.z);
  return mpz_get_ui(b.z);
}

std::string FromBits(unsigned long bits) {
  Mpz b;
  mpz_set_ui(b.z, bits);
  return Text(NumberTextOfBits(b.z));
}

TEST(NumbersBits, BitFormsOfTexts) {
  EXPECT_EQ(Bits("5"), 0b10111ul);
  EXPECT_EQ(Bits("05"), 0b10101ul);
  EXPECT_EQ(Bits("0"), 0b11ul);
  EXPECT_EQ(Bits("00"), 0b10ul);
  EXPECT_EQ(Bits("001"), 0b110ul);
  EXPECT_EQ(Bits("000"), 0b100ul);
  for (const char* t : {"5", "05", "0", "00", "001", "000", "0000", "0002", "123456789"})
    EXPECT_EQ(FromBits(Bits(t)), t);
  EXPECT_EQ(FromBits(0b1), "0");   // negative zero reads as zero
  EXPECT_EQ(FromBits(0b0), "00");
}

CellRef Letter(char c) { return MakeLeaf(&c, 1); }

// The full list form of a number text: J cells down to K.
CellRef Expand(std::string text) {
  std::vector<bool> flags;
  while (true) {
    CellRef tail;
    flags.push_back(SplitNumberText(text, &tail));
    if (IsLeafText(tail.get(), "K")) break;
    if (tail->IsApp()) {  // J K K: the bit string 1
      flags.push_back(true);
      break;
    }
    text = std::string(LeafView(tail.get()));
  }
  CellRef list = Letter('K');
  for (size_t i = flags.size(); i-- > 0;) list = MakeApp(Letter('J'), Letter(flags[i] ? 'K' : 'H'), std::move(list));
  return list;
}

TEST(NumbersBits, ListFormsRoundTrip) {
  CellRef tail;
  EXPECT_TRUE(SplitNumberText("5", &tail));
  EXPECT_EQ(Text(tail), "2");
  EXPECT_FALSE(SplitNumberText("001", &tail));
  EXPECT_EQ(Text(tail), "0");
  EXPECT_TRUE(SplitNumberText("01", &tail));  // bits 101
  EXPECT_EQ(Text(tail), "00");
  EXPECT_FALSE(SplitNumberText("000", &tail));  // bits 100: the rest 10 is "00"
  EXPECT_EQ(Text(tail), "00");
  EXPECT_TRUE(SplitNumberText("0", &tail));  // bits 11: the rest is the bit string 1
  ASSERT_TRUE(tail->IsApp());
  EXPECT_TRUE(IsLeafText(tail->a, "K"));
  EXPECT_TRUE(IsLeafText(tail->f->a, "K"));
  EXPECT_FALSE(SplitNumberText("00", &tail));  // bits 10
  EXPECT_TRUE(tail->IsApp());
  for (const char* t : {"0", "5", "05", "00", "001", "0002", "00000", "98765432109876543210987654321"}) {
    CellRef split;
    bool flag = SplitNumberText(t, &split);
    CellRef list = MakeApp(Letter('J'), Letter(flag ? 'K' : 'H'), std::move(split));
    EXPECT_EQ(Text(NumberListText(list.get())), t);
    EXPECT_EQ(Text(NumberListText(Expand(t).get())), t);
  }
}

TEST(NumbersBits, MalformedAndDeepLists) {
  CellRef bad = MakeApp(Letter('J'), Letter('K'), MakeLeaf("[x]"));
  EXPECT_FALSE(NumberListText(bad.get()));
  CellRef bad_flag = MakeApp(Letter('J'), Letter('K'), MakeApp(Letter('J'), Letter('Z'), Letter('K')));
  EXPECT_FALSE(NumberListText(bad_flag.get()));
  // 2^200000 - 1 written bit by bit: no recursion on the list length.
  CellRef list = Letter('K');
  for (int i = 0; i < 200000; ++i) list = MakeApp(Letter('J'), Letter('K'), std::move(list));
  list = MakeApp(Letter('J'), Letter('K'), MakeApp(Letter('J'), Letter('K'), std::move(list)));
  CellRef text = NumberListText(list.get());
  ASSERT_TRUE(text);
  Mpz want;
  mpz_setbit(want.z, 200000);
  mpz_sub_ui(want.z, want.z, 1);
  EXPECT_EQ(Text(text), MpzDigits(want.z));
}

}  // namespace
}  // namespace mox
