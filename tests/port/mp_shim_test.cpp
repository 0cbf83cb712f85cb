// The portable integers of port/mp against the system GMP: every operation
// mox uses, on edge values (limb boundaries, runs of ones and zeros that
// stress carries, borrows and quotient corrections) and random ones, with
// results compared limb for limb.
//
// GMP's header defines most of its names as macros, so the stand-ins are
// given other names here, before that header is read.
#include "mp_shim.h"

namespace sh {
using Z = mpshim::mpz_t;
using Ptr = mpshim::mpz_ptr;
using SrcPtr = mpshim::mpz_srcptr;
constexpr auto n_get_str = &mpshim::mpn_get_str;
constexpr auto n_set_str = &mpshim::mpn_set_str;
constexpr auto abs = &mpshim::mpz_abs;
constexpr auto set = &mpshim::mpz_set;
constexpr auto add = &mpshim::mpz_add;
constexpr auto add_ui = &mpshim::mpz_add_ui;
constexpr auto clear = &mpshim::mpz_clear;
constexpr auto clrbit = &mpshim::mpz_clrbit;
constexpr auto cmp = &mpshim::mpz_cmp;
constexpr auto cmp_ui = &mpshim::mpz_cmp_ui;
constexpr auto cmpabs_ui = &mpshim::mpz_cmpabs_ui;
constexpr auto combit = &mpshim::mpz_combit;
constexpr auto get_ui = &mpshim::mpz_get_ui;
constexpr auto getlimbn = &mpshim::mpz_getlimbn;
constexpr auto init = &mpshim::mpz_init;
constexpr auto ior = &mpshim::mpz_ior;
constexpr auto limbs_finish = &mpshim::mpz_limbs_finish;
constexpr auto limbs_read = &mpshim::mpz_limbs_read;
constexpr auto limbs_write = &mpshim::mpz_limbs_write;
constexpr auto mul = &mpshim::mpz_mul;
constexpr auto mul_2exp = &mpshim::mpz_mul_2exp;
constexpr auto neg = &mpshim::mpz_neg;
constexpr auto pow_ui = &mpshim::mpz_pow_ui;
constexpr auto scan1 = &mpshim::mpz_scan1;
constexpr auto set_d = &mpshim::mpz_set_d;
constexpr auto set_si = &mpshim::mpz_set_si;
constexpr auto set_str = &mpshim::mpz_set_str;
constexpr auto set_ui = &mpshim::mpz_set_ui;
constexpr auto setbit = &mpshim::mpz_setbit;
constexpr auto sgn = &mpshim::mpz_sgn;
constexpr auto size = &mpshim::mpz_size;
constexpr auto sizeinbase = &mpshim::mpz_sizeinbase;
constexpr auto sub = &mpshim::mpz_sub;
constexpr auto sub_ui = &mpshim::mpz_sub_ui;
constexpr auto tdiv_q = &mpshim::mpz_tdiv_q;
constexpr auto tdiv_q_2exp = &mpshim::mpz_tdiv_q_2exp;
constexpr auto tdiv_r = &mpshim::mpz_tdiv_r;
constexpr auto tdiv_r_2exp = &mpshim::mpz_tdiv_r_2exp;
constexpr auto tstbit = &mpshim::mpz_tstbit;
}  // namespace sh

#include <gmp.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using Limbs = std::vector<uint64_t>;

// One number held by both implementations.
struct Pair {
  sh::Z s;
  mpz_t g;
  Pair() {
    sh::init(s);
    mpz_init(g);
  }
  Pair(bool negative, const Limbs& limbs) : Pair() { Set(negative, limbs); }
  ~Pair() {
    sh::clear(s);
    mpz_clear(g);
  }
  Pair(const Pair&) = delete;
  Pair& operator=(const Pair&) = delete;
  void Set(bool negative, const Limbs& limbs) {
    auto n = static_cast<int64_t>(limbs.size());
    uint64_t* a = sh::limbs_write(s, n);
    mp_limb_t* b = mpz_limbs_write(g, n);
    for (size_t i = 0; i < limbs.size(); ++i) a[i] = b[i] = limbs[i];
    sh::limbs_finish(s, negative ? -n : n);
    mpz_limbs_finish(g, negative ? -n : n);
  }
};

std::string Describe(const Pair& p) {
  std::string out = mpz_sgn(p.g) < 0 ? "-" : "";
  std::vector<char> digits(mpz_sizeinbase(p.g, 16) + 2);
  mpz_get_str(digits.data(), 16, p.g);
  return "0x" + std::string(digits.data());
}

// Both sides hold the same number, limb for limb.
::testing::AssertionResult Same(const Pair& p) {
  size_t n = sh::size(p.s);
  bool same = n == mpz_size(p.g) && sh::sgn(p.s) == mpz_sgn(p.g) &&
              (n == 0 || std::memcmp(sh::limbs_read(p.s), mpz_limbs_read(p.g), n * 8) == 0);
  if (same) return ::testing::AssertionSuccess();
  Pair shown;
  shown.Set(sh::sgn(p.s) < 0, Limbs(sh::limbs_read(p.s), sh::limbs_read(p.s) + n));
  return ::testing::AssertionFailure() << "shim " << Describe(shown) << " gmp " << Describe(p);
}

int Sign(int c) { return (c > 0) - (c < 0); }

// Edge magnitudes: limb boundaries and limbs of all ones, all zeros and a
// lone top bit, which drive the rare paths of carries and long division.
std::vector<Limbs> EdgeMagnitudes() {
  const uint64_t kOnes = ~uint64_t{0}, kTop = uint64_t{1} << 63;
  return {{},         {1},           {2},          {kOnes},         {kTop},        {0, 1},          {1, 1},
          {kOnes, 1}, {kOnes, kOnes}, {0, kTop},    {kOnes, kTop - 1}, {0, 0, 1},     {1, 0, kTop},
          {kOnes, kOnes, kOnes}, {0, kOnes, kTop}, {kTop, 0, 0, kOnes}, {12345, 0, 0, 0, 1}};
}

struct Random {
  std::mt19937_64 gen{20261206};
  uint64_t Limb() {
    switch (gen() % 6) {
      case 0: return 0;
      case 1: return ~uint64_t{0};
      case 2: return uint64_t{1} << (gen() % 64);
      default: return gen();
    }
  }
  Limbs Magnitude(size_t maxLimbs) {
    Limbs m(gen() % (maxLimbs + 1));
    for (uint64_t& l : m) l = Limb();
    while (!m.empty() && m.back() == 0) m.back() = gen();
    return m;
  }
  bool Coin() { return gen() % 2 == 0; }
};

// Edge values of both signs, then random ones of up to maxLimbs limbs.
template <typename Visit>
void ForValues(Random& r, int randomCount, size_t maxLimbs, Visit visit) {
  for (const Limbs& m : EdgeMagnitudes()) {
    visit(false, m);
    if (!m.empty()) visit(true, m);
  }
  for (int i = 0; i < randomCount; ++i) visit(r.Coin(), r.Magnitude(maxLimbs));
}

using Binary = void (*)(sh::Ptr, sh::SrcPtr, sh::SrcPtr);
using GmpBinary = void (*)(mpz_ptr, mpz_srcptr, mpz_srcptr);

TEST(MpShim, ArithmeticMatchesGmp) {
  struct Op {
    const char* name;
    Binary s;
    GmpBinary g;
    bool divides;
  };
  const Op ops[] = {{"add", sh::add, mpz_add, false},    {"sub", sh::sub, mpz_sub, false},
                    {"mul", sh::mul, mpz_mul, false},    {"ior", sh::ior, mpz_ior, false},
                    {"tdiv_q", sh::tdiv_q, mpz_tdiv_q, true}, {"tdiv_r", sh::tdiv_r, mpz_tdiv_r, true}};
  Random r;
  std::vector<std::pair<bool, Limbs>> values;
  ForValues(r, 120, 9, [&](bool neg, const Limbs& m) { values.emplace_back(neg, m); });
  for (const auto& [an, am] : values) {
    for (const auto& [bn, bm] : values) {
      Pair a(an, am), b(bn, bm);
      EXPECT_EQ(Sign(sh::cmp(a.s, b.s)), Sign(mpz_cmp(a.g, b.g)));
      for (const Op& op : ops) {
        if (op.divides && bm.empty()) continue;
        Pair out;
        op.s(out.s, a.s, b.s);
        op.g(out.g, a.g, b.g);
        ASSERT_TRUE(Same(out)) << op.name << " of " << Describe(a) << " and " << Describe(b);
      }
      // The result may be an operand, as the callers do.
      Pair x(an, am);
      sh::sub(x.s, b.s, x.s);
      mpz_sub(x.g, b.g, x.g);
      ASSERT_TRUE(Same(x)) << "in place sub";
    }
  }
}

TEST(MpShim, LongDivisionOfWideNumbers) {
  Random r;
  for (int i = 0; i < 400; ++i) {
    Pair a(r.Coin(), r.Magnitude(40)), b(r.Coin(), r.Magnitude(20));
    if (mpz_sgn(b.g) == 0) continue;
    Pair q, rem;
    sh::tdiv_q(q.s, a.s, b.s);
    mpz_tdiv_q(q.g, a.g, b.g);
    sh::tdiv_r(rem.s, a.s, b.s);
    mpz_tdiv_r(rem.g, a.g, b.g);
    ASSERT_TRUE(Same(q)) << Describe(a) << " / " << Describe(b);
    ASSERT_TRUE(Same(rem)) << Describe(a) << " % " << Describe(b);
  }
}

TEST(MpShim, SmallOperandsAndSigns) {
  const uint64_t smalls[] = {0, 1, 2, 10, uint64_t{1} << 63, ~uint64_t{0}};
  Random r;
  ForValues(r, 60, 4, [&](bool neg, const Limbs& m) {
    Pair a(neg, m);
    for (uint64_t u : smalls) {
      Pair sum, diff;
      sh::add_ui(sum.s, a.s, u);
      mpz_add_ui(sum.g, a.g, u);
      sh::sub_ui(diff.s, a.s, u);
      mpz_sub_ui(diff.g, a.g, u);
      ASSERT_TRUE(Same(sum)) << Describe(a) << " + " << u;
      ASSERT_TRUE(Same(diff)) << Describe(a) << " - " << u;
      EXPECT_EQ(Sign(sh::cmp_ui(a.s, u)), Sign(mpz_cmp_ui(a.g, u))) << Describe(a);
      EXPECT_EQ(Sign(sh::cmpabs_ui(a.s, u)), Sign(mpz_cmpabs_ui(a.g, u))) << Describe(a);
    }
    Pair abs, neg2, copy;
    sh::set(copy.s, a.s);
    mpz_set(copy.g, a.g);
    EXPECT_TRUE(Same(copy));
    sh::abs(abs.s, a.s);
    mpz_abs(abs.g, a.g);
    sh::neg(neg2.s, a.s);
    mpz_neg(neg2.g, a.g);
    EXPECT_TRUE(Same(abs));
    EXPECT_TRUE(Same(neg2));
    EXPECT_EQ(sh::get_ui(a.s), mpz_get_ui(a.g));
    for (int64_t k = -1; k <= 5; ++k) EXPECT_EQ(sh::getlimbn(a.s, k), mpz_getlimbn(a.g, k));
  });
  const int64_t signeds[] = {0, 1, -1, INT64_MAX, INT64_MIN};
  for (int64_t v : signeds) {
    Pair p;
    sh::set_si(p.s, v);
    mpz_set_si(p.g, v);
    EXPECT_TRUE(Same(p)) << v;
  }
}

TEST(MpShim, PowersMatchGmp) {
  Random r;
  ForValues(r, 20, 3, [&](bool neg, const Limbs& m) {
    for (uint64_t e : {0, 1, 2, 3, 7, 16, 33}) {
      Pair a(neg, m), p;
      sh::pow_ui(p.s, a.s, e);
      mpz_pow_ui(p.g, a.g, e);
      ASSERT_TRUE(Same(p)) << Describe(a) << " ^ " << e;
      sh::pow_ui(a.s, a.s, e);  // in place
      mpz_pow_ui(a.g, a.g, e);
      ASSERT_TRUE(Same(a));
    }
  });
}

TEST(MpShim, ShiftsAndBitsMatchGmp) {
  const uint64_t bits[] = {0, 1, 2, 63, 64, 65, 127, 128, 200, 700};
  Random r;
  ForValues(r, 80, 6, [&](bool neg, const Limbs& m) {
    Pair a(neg, m);
    EXPECT_EQ(sh::sizeinbase(a.s, 2), mpz_sizeinbase(a.g, 2));
    for (uint64_t b : bits) {
      Pair left, q, rem;
      sh::mul_2exp(left.s, a.s, b);
      mpz_mul_2exp(left.g, a.g, b);
      sh::tdiv_q_2exp(q.s, a.s, b);
      mpz_tdiv_q_2exp(q.g, a.g, b);
      sh::tdiv_r_2exp(rem.s, a.s, b);
      mpz_tdiv_r_2exp(rem.g, a.g, b);
      ASSERT_TRUE(Same(left)) << Describe(a) << " << " << b;
      ASSERT_TRUE(Same(q)) << Describe(a) << " >> " << b;
      ASSERT_TRUE(Same(rem)) << Describe(a) << " mod 2^" << b;
      EXPECT_EQ(sh::tstbit(a.s, b), mpz_tstbit(a.g, b)) << Describe(a) << " bit " << b;
      EXPECT_EQ(sh::scan1(a.s, b), mpz_scan1(a.g, b)) << Describe(a) << " scan from " << b;
      Pair set(neg, m), clr(neg, m), com(neg, m);
      sh::setbit(set.s, b);
      mpz_setbit(set.g, b);
      sh::clrbit(clr.s, b);
      mpz_clrbit(clr.g, b);
      sh::combit(com.s, b);
      mpz_combit(com.g, b);
      ASSERT_TRUE(Same(set)) << Describe(a) << " setbit " << b;
      ASSERT_TRUE(Same(clr)) << Describe(a) << " clrbit " << b;
      ASSERT_TRUE(Same(com)) << Describe(a) << " combit " << b;
    }
  });
}

TEST(MpShim, DecimalConversionsMatchGmp) {
  Random r;
  ForValues(r, 150, 30, [&](bool neg, const Limbs& m) {
    if (m.empty()) return;
    Pair a(neg, m);
    size_t exact = mpz_sizeinbase(a.g, 10);
    std::vector<unsigned char> want(exact + 1), got(exact + 1);
    Limbs copy1 = m, copy2 = m;
    size_t wn = mpn_get_str(want.data(), 10, copy1.data(), static_cast<mp_size_t>(m.size()));
    size_t gn = sh::n_get_str(got.data(), 10, copy2.data(), static_cast<int64_t>(m.size()));
    size_t lead = 0;
    while (lead + 1 < wn && want[lead] == 0) ++lead;  // GMP may lead with zeros
    ASSERT_EQ(std::vector<unsigned char>(got.begin(), got.begin() + gn),
              std::vector<unsigned char>(want.begin() + lead, want.begin() + wn));
    size_t estimate = sh::sizeinbase(a.s, 10);
    EXPECT_TRUE(estimate == gn || estimate == gn + 1) << estimate << " for " << gn << " digits";
    // And back, behind a few leading zeros.
    std::vector<unsigned char> digits(3, 0);
    digits.insert(digits.end(), got.begin(), got.begin() + gn);
    Limbs back(digits.size() / 19 + 2);
    int64_t n = sh::n_set_str(back.data(), digits.data(), digits.size(), 10);
    back.resize(static_cast<size_t>(n));
    EXPECT_EQ(back, m);
  });
}

TEST(MpShim, TextAndDoubleInputsMatchGmp) {
  const char* texts[] = {"0", "-0", "7", "-18446744073709551615", "18446744073709551616",
                         "  12 345", "-000123456789012345678901234567890", "1x", "", "-", "9 9"};
  for (const char* t : texts) {
    Pair p;
    int rs = sh::set_str(p.s, t, 10), rg = mpz_set_str(p.g, t, 10);
    EXPECT_EQ(rs, rg) << '"' << t << '"';
    if (rg == 0) {
      EXPECT_TRUE(Same(p)) << t;
    }
  }
  std::vector<double> doubles = {0.0, -0.0, 0.5, -0.999, 1.0, -1.5, 4503599627370497.0, 9007199254740993.0,
                                 18446744073709551616.0, -1e300, 1e-300, std::ldexp(1.0, 1023), 123456789.75};
  std::mt19937_64 gen(7);
  for (int i = 0; i < 200; ++i) {
    doubles.push_back(std::ldexp(static_cast<double>(gen() >> 11), static_cast<int>(gen() % 200) - 60) *
                      (gen() % 2 ? 1 : -1));
  }
  for (double d : doubles) {
    Pair p;
    sh::set_d(p.s, d);
    mpz_set_d(p.g, d);
    EXPECT_TRUE(Same(p)) << d;
  }
}

TEST(MpShim, LimbAccessTrimsTheTop) {
  Pair p;
  uint64_t* a = sh::limbs_write(p.s, 4);
  mp_limb_t* b = mpz_limbs_write(p.g, 4);
  const uint64_t limbs[] = {5, 0, 0, 0};
  for (int i = 0; i < 4; ++i) a[i] = b[i] = limbs[i];
  sh::limbs_finish(p.s, -4);
  mpz_limbs_finish(p.g, -4);
  EXPECT_TRUE(Same(p));
  EXPECT_EQ(sh::size(p.s), 1u);
  EXPECT_EQ(sh::sizeinbase(p.s, 2), 3u);
  sh::set_ui(p.s, 0);
  EXPECT_EQ(sh::sizeinbase(p.s, 10), 1u);
  EXPECT_EQ(sh::scan1(p.s, 0), ~uint64_t{0});
}

}  // namespace
