// Integer text arithmetic: random operands across the word, limb and GMP
// thresholds checked against GMP and against the arithmetic identities.
#include <gmp.h>
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <utility>

#include "core/memory.h"
#include "core/write_epoch.h"
#include "values/bigint.h"
#include "values/mpz_text.h"

namespace mox {
namespace {

std::string Text(const CellRef& c) { return c ? std::string(LeafView(c.get())) : std::string("<null>"); }

// The integer text of an mpz: "0" sign for negatives.
std::string Expected(const mpz_t z) {
  std::string s = MpzDigits(z);
  return mpz_sgn(z) < 0 ? "0" + s : s;
}

void ToMpz(const std::string& text, mpz_t z) { MpzFromInteger(z, ReadIntText(text)); }

// Digit counts around the thresholds: one word (18), two limbs, the
// schoolbook limit (1500 digits) and beyond.
constexpr int kSizes[] = {1, 2, 17, 18, 19, 20, 35, 36, 37, 54, 55, 150, 1499, 1500, 1501, 3000};

struct Random {
  std::mt19937_64 gen{20240611};
  std::string Digits(int n) {
    std::string s;
    s.push_back(static_cast<char>('1' + gen() % 9));
    for (int i = 1; i < n; ++i) s.push_back(static_cast<char>('0' + gen() % 10));
    // Runs of 9s and 0s stress the carries and borrows.
    if (n > 4 && gen() % 3 == 0) {
      size_t at = gen() % static_cast<size_t>(n - 1) + 1, len = gen() % static_cast<size_t>(n - at) + 1;
      s.replace(at, len, len, gen() % 2 ? '9' : '0');
    }
    return s;
  }
  std::string Integer(int n) {
    std::string d = Digits(n);
    return gen() % 2 ? "0" + d : d;
  }
};

// Values at the limb and word boundaries: 10^18 +- 1, 10^36 +- 1, 2^64 +- 1.
std::vector<std::string> BoundaryValues() {
  std::vector<std::string> v = {"0", "1", "01", "9", "10"};
  const char* bases[] = {"1000000000000000000", "1000000000000000000000000000000000000", "18446744073709551616"};
  for (const char* b : bases) {
    Mpz z, t;
    mpz_set_str(z.z, b, 10);
    for (int d = -1; d <= 1; ++d) {
      mpz_add_ui(t.z, z.z, 0);
      if (d < 0) mpz_sub_ui(t.z, t.z, 1);
      if (d > 0) mpz_add_ui(t.z, t.z, 1);
      v.push_back(Expected(t.z));
      v.push_back("0" + Expected(t.z));
    }
  }
  return v;
}

// The operands of one operation: a function giving them afresh each time.
using Operands = std::function<std::pair<IntText, IntText>()>;

void CheckForms(const std::string& a, const std::string& b, const Operands& operands) {
  Mpz ma, mb, r;
  ToMpz(a, ma.z);
  ToMpz(b, mb.z);
  auto [x, y] = operands();
  mpz_add(r.z, ma.z, mb.z);
  ASSERT_EQ(Text(IntegerSum(x, y)), Expected(r.z)) << a << " + " << b;
  std::tie(x, y) = operands();
  mpz_sub(r.z, ma.z, mb.z);
  ASSERT_EQ(Text(IntegerDifference(x, y)), Expected(r.z)) << a << " - " << b;
  std::tie(x, y) = operands();
  mpz_mul(r.z, ma.z, mb.z);
  ASSERT_EQ(Text(IntegerProduct(x, y)), Expected(r.z)) << a << " * " << b;
  std::tie(x, y) = operands();
  if (mpz_sgn(mb.z) == 0) {
    EXPECT_FALSE(IntegerQuotient(x, y));
    EXPECT_FALSE(IntegerRemainder(x, y));
    return;
  }
  mpz_tdiv_q(r.z, ma.z, mb.z);
  ASSERT_EQ(Text(IntegerQuotient(x, y)), Expected(r.z)) << a << " / " << b;
  // The remainder rule: |a| mod |b|, complemented when the signs differ.
  Mpz abs_a, abs_b;
  mpz_abs(abs_a.z, ma.z);
  mpz_abs(abs_b.z, mb.z);
  mpz_tdiv_r(r.z, abs_a.z, abs_b.z);
  bool same = (mpz_sgn(ma.z) < 0) == (mpz_sgn(mb.z) < 0);
  if (!same && mpz_sgn(r.z) != 0) mpz_sub(r.z, abs_b.z, r.z);
  std::tie(x, y) = operands();
  ASSERT_EQ(Text(IntegerRemainder(x, y)), Expected(r.z)) << a << " % " << b;
  std::tie(x, y) = operands();
  mpz_neg(r.z, ma.z);
  ASSERT_EQ(Text(IntegerNegation(x)), Expected(r.z)) << "-" << a;
}

// Three forms of the operands: texts alone; leaves made from digits, which
// carry their limbs beside the text; and leaves made from limbs, whose
// texts are deferred (made afresh for each operation, so that each meets
// them unwritten).
void CheckAgainstGmp(const std::string& a, const std::string& b) {
  IntText x = ReadIntText(a), y = ReadIntText(b);
  CheckForms(a, b, [&] { return std::pair(x, y); });
  CellRef la = DigitsLeaf(x.negative, x.magnitude), lb = DigitsLeaf(y.negative, y.magnitude);
  IntText lx = ReadIntegerLeaf(la.get()), ly = ReadIntegerLeaf(lb.get());
  EXPECT_EQ(lx.has_limbs, x.magnitude.size() > 18);
  CheckForms(a, b, [&] { return std::pair(lx, ly); });
  CellRef da, db;
  CheckForms(a, b, [&] {
    da = lx.has_limbs ? LimbsLeaf(x.negative, lx.limbs) : DigitsLeaf(x.negative, x.magnitude);
    db = ly.has_limbs ? LimbsLeaf(y.negative, ly.limbs) : DigitsLeaf(y.negative, y.magnitude);
    EXPECT_EQ(da->TextDeferred(), lx.has_limbs);
    return std::pair(ReadIntegerLeaf(da.get()), ReadIntegerLeaf(db.get()));
  });
}

TEST(NumbersBigint, RandomOperandsMatchGmp) {
  Random rnd;
  for (int sa : kSizes)
    for (int sb : kSizes)
      for (int k = 0; k < 3; ++k) CheckAgainstGmp(rnd.Integer(sa), rnd.Integer(sb));
}

TEST(NumbersBigint, BoundaryValuesMatchGmp) {
  std::vector<std::string> v = BoundaryValues();
  for (const std::string& a : v)
    for (const std::string& b : v) CheckAgainstGmp(a, b);
}

TEST(NumbersBigint, IdentitiesHold) {
  Random rnd;
  for (int sa : kSizes) {
    for (int sb : kSizes) {
      std::string a = rnd.Integer(sa), b = rnd.Integer(sb);
      IntText x = ReadIntText(a), y = ReadIntText(b);
      CellRef sum = IntegerSum(x, y);
      EXPECT_EQ(Text(IntegerDifference(ReadIntText(LeafView(sum.get())), y)), a);
      CellRef product = IntegerProduct(x, y);
      EXPECT_EQ(Text(IntegerQuotient(ReadIntText(LeafView(product.get())), y)), a);
      // a = q*b + t with t the truncated remainder; our remainder is |t|
      // for equal signs and |b| - |t| otherwise (0 stays 0).
      CellRef q = IntegerQuotient(x, y);
      CellRef qb = IntegerProduct(ReadIntText(LeafView(q.get())), y);
      CellRef t = IntegerDifference(x, ReadIntText(LeafView(qb.get())));
      IntText tt = ReadIntText(LeafView(t.get()));
      CellRef r = IntegerRemainder(x, y);
      if (x.negative == y.negative || IsZero(tt)) {
        EXPECT_EQ(Text(r), std::string(tt.magnitude)) << a << " % " << b;
      } else {
        EXPECT_EQ(Text(r), Text(IntegerDifference({false, y.magnitude}, {false, tt.magnitude})));
      }
    }
  }
}

TEST(NumbersBigint, LimbsAreTrustedOnlyInTheirWriteEpoch) {
  std::string a(40, '7'), b(30, '1');
  CellRef sum = IntegerSum(ReadIntText(a), ReadIntText(b));
  IntText s = ReadIntegerLeaf(sum.get());
  ASSERT_TRUE(s.has_limbs);
  ASSERT_EQ(s.limbs.size(), 3u);
  EXPECT_EQ(s.limbs[1], 777777888888888888u);
  // Rewritten in place, as a program's raw write would: once the epoch has
  // moved, the text is read again and the limbs refilled from it.
  sum->Bytes()[0] = '1';
  NoteWrites();
  IntText t = ReadIntegerLeaf(sum.get());
  EXPECT_TRUE(t.has_limbs);
  EXPECT_EQ(t.limbs[2], 1777u);
  EXPECT_EQ(Text(IntegerSum(t, ReadIntText("1"))), "1777777777" + std::string(29, '8') + "9");
  // A text cut short by a NUL reads as its leading digits; the limbs follow.
  sum->Bytes()[20] = 0;
  NoteWrites();
  IntText u = ReadIntegerLeaf(sum.get());
  EXPECT_EQ(u.magnitude, "17777777778888888888");
  EXPECT_EQ(Text(IntegerDifference(u, ReadIntText("8888888888"))), "17777777770000000000");
}

// The raw bytes of a leaf, as a program reading memory by address sees them.
std::string RawBytes(const CellRef& c) {
  return std::string(reinterpret_cast<const char*>(c->Bytes()), c->StoredLength() + 1);
}

TEST(NumbersBigint, DeferredTextsAreWrittenBeforeAnyReader) {
  // F(300) by sums of leaves: every result of two limbs or more defers its
  // text, keeping its length, sign and leading digits right meanwhile.
  CellRef a = DigitsLeaf(false, "0"), b = DigitsLeaf(false, "1");
  for (int i = 0; i < 300; ++i) {
    CellRef c = IntegerSum(ReadIntegerLeaf(a.get()), ReadIntegerLeaf(b.get()));
    a = std::move(b);
    b = std::move(c);
  }
  const std::string f300 = "222232244629420445529739893461909967206666939096499764990979600";
  ASSERT_TRUE(a->TextDeferred());
  EXPECT_EQ(a->StoredLength(), f300.size());
  EXPECT_EQ(a->Bytes()[0], '2');
  EXPECT_EQ(a->Bytes()[f300.size()], 0);
  CellRef negative = IntegerDifference(ReadIntText("5"), ReadIntegerLeaf(a.get()));
  EXPECT_TRUE(negative->TextDeferred());
  EXPECT_TRUE(a->TextDeferred());  // differences of limbs leave the operands unwritten
  // So does one with a written number of the same length, whose digits
  // are read into limbs to find the larger magnitude.
  CellRef one = IntegerDifference(ReadIntText(f300.substr(0, f300.size() - 1) + "1"), ReadIntegerLeaf(a.get()));
  EXPECT_EQ(Text(one), "1");
  EXPECT_TRUE(a->TextDeferred());
  // A builtin that may read memory moves the epoch: every deferred text is
  // written first, in place, and the limbs stay right for the next sum.
  size_t waiting = g_deferred_texts;
  EXPECT_GE(waiting, 3u);
  NoteWrites();
  EXPECT_EQ(g_deferred_texts, 0u);
  EXPECT_FALSE(a->TextDeferred());
  EXPECT_EQ(RawBytes(a), f300 + std::string(1, '\0'));
  EXPECT_EQ(RawBytes(negative), "0222232244629420445529739893461909967206666939096499764990979595" + std::string(1, '\0'));
  EXPECT_EQ(Text(IntegerSum(ReadIntegerLeaf(a.get()), ReadIntegerLeaf(negative.get()))), "5");
  // LeafView writes a deferred text on the spot; one freed unwritten leaves
  // the waiting list.
  CellRef next = IntegerSum(ReadIntegerLeaf(a.get()), ReadIntegerLeaf(b.get()));
  CellRef dropped = IntegerSum(ReadIntegerLeaf(next.get()), ReadIntegerLeaf(b.get()));
  EXPECT_EQ(g_deferred_texts, 2u);
  EXPECT_EQ(LeafView(next.get()), "581811569836004006491505558634099066259034153405766997246569401");
  dropped = CellRef();
  EXPECT_EQ(g_deferred_texts, 0u);
}

TEST(NumbersBigint, DeferredOperandsOfPowers) {
  // The exponent's last digit and the base's leading digits are read from
  // texts that were deferred.
  auto limbs_leaf = [](const std::string& text) {
    IntText t = ReadIntText(text);
    CellRef digits = DigitsLeaf(t.negative, t.magnitude);
    CellRef leaf = LimbsLeaf(t.negative, ReadIntegerLeaf(digits.get()).limbs);
    EXPECT_TRUE(leaf->TextDeferred());
    return leaf;
  };
  CellRef odd = limbs_leaf("1" + std::string(30, '0') + "1"), even = limbs_leaf("1" + std::string(31, '0'));
  EXPECT_EQ(Text(IntegerPower(ReadIntText("01"), ReadIntegerLeaf(odd.get()))), "01");
  EXPECT_EQ(Text(IntegerPower(ReadIntText("01"), ReadIntegerLeaf(even.get()))), "1");
  std::string base = "0987654321098765432109876543";
  CellRef deferred = limbs_leaf(base);
  Mpz z;
  ToMpz(base, z.z);
  mpz_pow_ui(z.z, z.z, 7);
  EXPECT_EQ(Text(IntegerPower(ReadIntegerLeaf(deferred.get()), ReadIntText("7"))), Expected(z.z));
}

// Sums, differences and products by one limb are written straight into
// the result's leaf, which is sized for the longest result before the
// length is known. Every digit count from two limbs to five, with carries
// and borrows that change the count (so that the text ends on each side of
// an 8-byte boundary), and results that shrink to a word or to less than
// half: the texts, read both ways, and the tails, which must still hold the
// limbs when they are read again from the text.
TEST(NumbersBigint, ResultsWrittenInPlaceAtEveryLength) {
  int64_t live = LiveCells();
  auto check = [](const std::string& a, const std::string& b) {
    Mpz ma, mb, r;
    ToMpz(a, ma.z);
    ToMpz(b, mb.z);
    CellRef la = DigitsLeaf(ReadIntText(a).negative, ReadIntText(a).magnitude);
    CellRef lb = DigitsLeaf(ReadIntText(b).negative, ReadIntText(b).magnitude);
    auto x = [&] { return ReadIntegerLeaf(la.get()); };
    auto y = [&] { return ReadIntegerLeaf(lb.get()); };
    mpz_add(r.z, ma.z, mb.z);
    CellRef sum = IntegerSum(x(), y());
    mpz_sub(r.z, ma.z, mb.z);
    std::string expected_diff = Expected(r.z);
    CellRef diff = IntegerDifference(x(), y());
    mpz_mul(r.z, ma.z, mb.z);
    std::string expected_product = Expected(r.z);
    CellRef product = IntegerProduct(x(), y());
    mpz_add(r.z, ma.z, mb.z);
    // Raw bytes first (the texts written by the epoch's move, as for a
    // program's read by address), then the limbs refilled from them.
    NoteWrites();
    ASSERT_EQ(RawBytes(sum), Expected(r.z) + std::string(1, '\0')) << a << " + " << b;
    ASSERT_EQ(RawBytes(diff), expected_diff + std::string(1, '\0')) << a << " - " << b;
    ASSERT_EQ(RawBytes(product), expected_product + std::string(1, '\0')) << a << " * " << b;
    for (const CellRef* c : {&sum, &diff, &product}) {
      IntText t = ReadIntegerLeaf(c->get());
      EXPECT_EQ(t.has_limbs, t.magnitude.size() > 18) << LeafView(c->get());
      EXPECT_EQ(Text(IntegerSum(t, ReadIntText("0"))), Text(*c));
    }
  };
  for (int d = 19; d <= 90; ++d) {
    std::string nines(static_cast<size_t>(d), '9'), power = "1" + std::string(static_cast<size_t>(d), '0');
    check(nines, "1");
    check(nines, "01");
    check("0" + nines, "01");
    check(power, "01");
    check(power, "1");
    check("0" + power, "1");
    check(nines, nines);
    check(nines, "7");
    check(power, "0" + nines);  // sum 1, difference of two limbs more
    check(nines, power);        // difference 01
    check(power + "5", power + "0");  // difference 5, a word
    std::string third = power;
    third[third.size() - static_cast<size_t>(d) / 3 - 1] = '1';  // 10^d + 10^(d/3)
    check(third, power);  // the difference has a third of the digits
  }
  EXPECT_EQ(LiveCells(), live);
}

// The size of a power's text is a memory request before anything is
// computed: past the memory it is that check's to answer (here a low
// ceiling that refuses, elsewhere the out-of-memory report), exponents
// past 64 bits included; within the memory, past 2^32 digits, the power is
// refused. Under a ceiling, so that the machine's own memory does not
// decide which.
TEST(NumbersBigint, PowerSizesAskTheMemoryCheckFirst) {
  static int refusals;
  refusals = 0;
  SetMemoryCeiling(size_t{1} << 20, [] { ++refusals; });
  EXPECT_FALSE(IntegerPower(ReadIntText("2"), ReadIntText("99999999999999999999")));
  EXPECT_FALSE(IntegerPower(ReadIntText("07"), ReadIntText("100000000")));
  EXPECT_EQ(refusals, 2);
  EXPECT_TRUE(IntegerPower(ReadIntText("07"), ReadIntText("1000")));  // 846 digits
  SetMemoryCeiling(size_t{1} << 40, [] { ++refusals; });
  EXPECT_FALSE(IntegerPower(ReadIntText("10"), ReadIntText("9000000000")));
  EXPECT_FALSE(IntegerPower(ReadIntText("10"), ReadIntText("4294967296")));  // one digit past 2^32
  EXPECT_EQ(refusals, 2);
  SetMemoryCeiling(0, nullptr);  // the machine's own again
}

TEST(NumbersBigint, SignsAndCanonicalZero) {
  auto sum = [](const char* a, const char* b) { return Text(IntegerSum(ReadIntText(a), ReadIntText(b))); };
  auto diff = [](const char* a, const char* b) { return Text(IntegerDifference(ReadIntText(a), ReadIntText(b))); };
  EXPECT_EQ(sum("05", "7"), "2");
  EXPECT_EQ(diff("3", "5"), "02");
  EXPECT_EQ(diff("5", "5"), "0");
  EXPECT_EQ(diff("05", "05"), "0");
  EXPECT_EQ(sum("0", "0"), "0");
  EXPECT_EQ(diff("0", "0"), "0");
  EXPECT_EQ(Text(IntegerProduct(ReadIntText("0"), ReadIntText("07"))), "0");
  EXPECT_EQ(Text(IntegerProduct(ReadIntText("0100000000000000000000"), ReadIntText("0"))), "0");
  EXPECT_EQ(Text(IntegerQuotient(ReadIntText("7"), ReadIntText("02"))), "03");
  EXPECT_EQ(Text(IntegerQuotient(ReadIntText("07"), ReadIntText("2"))), "03");
  EXPECT_EQ(Text(IntegerQuotient(ReadIntText("01"), ReadIntText("2"))), "0");
  EXPECT_EQ(Text(IntegerNegation(ReadIntText("0"))), "0");
  EXPECT_EQ(Text(IntegerNegation(ReadIntText("5"))), "05");
  EXPECT_EQ(Text(IntegerNegation(ReadIntText("05"))), "5");
}

TEST(NumbersBigint, RemainderIsNeverNegative) {
  auto rem = [](const char* a, const char* b) { return Text(IntegerRemainder(ReadIntText(a), ReadIntText(b))); };
  EXPECT_EQ(rem("7", "3"), "1");
  EXPECT_EQ(rem("07", "3"), "2");
  EXPECT_EQ(rem("7", "03"), "2");
  EXPECT_EQ(rem("07", "03"), "1");
  EXPECT_EQ(rem("06", "3"), "0");
  EXPECT_EQ(rem("0", "03"), "0");
  EXPECT_EQ(rem("01", "100000000000000000000"), "99999999999999999999");
  EXPECT_EQ(rem("100000000000000000000", "07"), "5");
}

TEST(NumbersBigint, Powers) {
  auto pow = [](const char* a, const char* b) { return Text(IntegerPower(ReadIntText(a), ReadIntText(b))); };
  EXPECT_EQ(pow("2", "010"), "0");
  EXPECT_EQ(pow("1", "01"), "0");
  EXPECT_EQ(pow("0", "0"), "1");
  EXPECT_EQ(pow("07", "0"), "1");
  EXPECT_EQ(pow("02", "3"), "08");
  EXPECT_EQ(pow("02", "4"), "16");
  EXPECT_EQ(pow("01", "99999999999999999999999"), "01");
  EXPECT_EQ(pow("0", "99999999999999999999999"), "0");
  EXPECT_EQ(pow("2", "62"), "4611686018427387904");
  EXPECT_EQ(pow("2", "64"), "18446744073709551616");
  EXPECT_EQ(pow("10", "40"), "1" + std::string(40, '0'));
  Random rnd;
  for (int e : {3, 17, 64, 200}) {
    std::string a = rnd.Integer(25);
    Mpz z;
    ToMpz(a, z.z);
    mpz_pow_ui(z.z, z.z, static_cast<unsigned long>(e));
    EXPECT_EQ(pow(a.c_str(), std::to_string(e).c_str()), Expected(z.z));
  }
}

TEST(NumbersBigint, ReadsOnlyTheLeadingDigits) {
  IntText a = ReadIntText(std::string_view("12x5", 4));
  EXPECT_FALSE(a.negative);
  EXPECT_EQ(a.magnitude, "12");
  IntText b = ReadIntText("0123");
  EXPECT_TRUE(b.negative);
  EXPECT_EQ(b.magnitude, "123");
  EXPECT_TRUE(IsCanonicalInteger("0"));
  EXPECT_TRUE(IsCanonicalInteger("05"));
  EXPECT_FALSE(IsCanonicalInteger("00"));
}

}  // namespace
}  // namespace mox
