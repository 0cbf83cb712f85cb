// Integer arithmetic on integer texts: word-sized fast paths, base-10^18
// limbs for linear work, GMP for big products, quotients and powers.
#include "values/bigint.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/memory.h"
#include "values/dec_digits.h"
#include "values/dec_limbs.h"
#include "values/mpz_text.h"

namespace mox {

namespace {

constexpr size_t kSmallDigits = 18;  // magnitudes below 10^18 fit one limb
// Below this many digits in the shorter factor the schoolbook limb product
// beats the round trip through GMP (bench/numbers_bench.cpp).
constexpr size_t kSchoolbookDigits = 1500;

bool IsSmall(const IntText& a) { return a.magnitude.size() <= kSmallDigits; }
uint64_t SmallValue(const IntText& a) { return ReadDigits(a.magnitude.data(), a.magnitude.size()); }

// Working vectors, kept between calls so that their memory is reused.
LimbVector& Scratch(int i) {
  static LimbVector v[3];
  return v[i];
}

// The limbs of a magnitude: those the leaf carries, or read into *scratch.
Limbs LimbsOf(const IntText& a, LimbVector* scratch) {
  if (a.has_limbs) return a.limbs;
  LimbsFromDigits(a.magnitude, scratch);
  return *scratch;
}

// The same magnitude in a new leaf, of the given sign.
CellRef MagnitudeLeaf(bool negative, const IntText& a) {
  if (a.has_limbs) return LimbsLeaf(negative && !IsZero(a), a.limbs);
  return DigitsLeaf(negative, a.magnitude);
}

CellRef WideLeaf(bool negative, unsigned __int128 v) {
  if ((v >> 64) == 0) return SmallIntegerLeaf(negative, static_cast<uint64_t>(v));
  uint64_t limbs[2];
  limbs[1] = SplitAtLimbBase(v, &limbs[0]);  // v < 10^36
  return LimbsLeaf(negative, limbs);
}

// Sums, differences and products by one limb of operands of which one at
// least has two limbs are written straight into the result's leaf
// (int_leaf.h), sized for the most digits the result can have.
CellRef AddMagnitudes(const IntText& a, const IntText& b, bool negative) {
  Limbs x = LimbsOf(a, &Scratch(0)), y = LimbsOf(b, &Scratch(1));
  size_t digits = std::max(a.magnitude.size(), b.magnitude.size()) + 1;
  LimbLeafDraft sum = StartLimbLeaf(negative, digits, std::max(x.size(), y.size()) + 1);
  return FinishLimbLeaf(sum, AddLimbsInto(x, y, sum.limbs));
}

// |a| - |b| with |a| >= |b|.
CellRef SubtractMagnitudes(const IntText& a, const IntText& b, bool negative) {
  Limbs x = LimbsOf(a, &Scratch(0)), y = LimbsOf(b, &Scratch(1));
  LimbLeafDraft diff = StartLimbLeaf(negative, a.magnitude.size(), x.size());
  return FinishLimbLeaf(diff, SubtractLimbsInto(x, y, diff.limbs));
}

// |big| * small, with small below 10^18 and not zero.
CellRef MultiplyBySmall(const IntText& big, const IntText& small, bool negative) {
  Limbs x = LimbsOf(big, &Scratch(0));
  size_t digits = big.magnitude.size() + small.magnitude.size();
  LimbLeafDraft product = StartLimbLeaf(negative, digits, x.size() + 1);
  return FinishLimbLeaf(product, MultiplyLimbsBySmallInto(x, SmallValue(small), product.limbs));
}

CellRef SignedSum(const IntText& a, const IntText& b) {
  if (IsSmall(a) && IsSmall(b)) {
    uint64_t x = SmallValue(a), y = SmallValue(b);
    if (a.negative == b.negative) return SmallIntegerLeaf(a.negative, x + y);
    return x >= y ? SmallIntegerLeaf(a.negative, x - y) : SmallIntegerLeaf(b.negative, y - x);
  }
  if (a.negative == b.negative) return AddMagnitudes(a, b, a.negative);
  int order = CompareIntegerMagnitudes(a, b);
  if (order == 0) return SmallIntegerLeaf(false, 0);
  if (order > 0) return SubtractMagnitudes(a, b, a.negative);
  return SubtractMagnitudes(b, a, b.negative);
}

// op(|a|, |b|) through GMP, negated when `negative`: the products and
// quotients too big for the limb loops.
CellRef MpzMagnitudes(const IntText& a, const IntText& b, bool negative, void (*op)(mpz_ptr, mpz_srcptr, mpz_srcptr)) {
  Mpz x, y;
  MpzFromDigits(x.z, MagnitudeDigits(a));
  MpzFromDigits(y.z, MagnitudeDigits(b));
  op(x.z, x.z, y.z);
  if (negative) mpz_neg(x.z, x.z);
  return IntegerLeafFromMpz(x.z);
}

// |a| mod |b| as a magnitude leaf-to-be: the remainder rule applied.
CellRef RemainderLeaf(const IntText& a, const IntText& b, const mpz_t r) {
  if (a.negative == b.negative || mpz_sgn(r) == 0) return IntegerLeafFromMpz(r);
  Mpz m;
  MpzFromDigits(m.z, MagnitudeDigits(b));
  mpz_sub(m.z, m.z, r);
  return IntegerLeafFromMpz(m.z);
}

uint64_t PowerSmall(uint64_t base, uint64_t e) {
  uint64_t result = 1;
  while (true) {
    if ((e & 1) != 0) result *= base;
    e >>= 1;
    if (e == 0) return result;
    base *= base;
  }
}

// Decimal digits of |a|^e, estimated from the leading digits.
double PowerDigitEstimate(const IntText& a, uint64_t e) {
  size_t k = a.magnitude.size() < 15 ? a.magnitude.size() : 15;
  double lead = static_cast<double>(ReadDigits(MagnitudeDigits(a).data(), k));
  double log10a = std::log10(lead) + static_cast<double>(a.magnitude.size() - k);
  return log10a * static_cast<double>(e);
}

}  // namespace

int CompareMagnitudes(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  int c = std::memcmp(a.data(), b.data(), a.size());
  return (c > 0) - (c < 0);
}

// By limbs when both carry them, or when either text is deferred (the
// other's written digits are read into limbs, which costs no more than
// comparing them and leaves the deferred text unwritten); else by the
// texts. Equal digit counts make equal limb counts: both are normalised.
int CompareIntegerMagnitudes(const IntText& a, const IntText& b) {
  if (a.magnitude.size() != b.magnitude.size()) return a.magnitude.size() < b.magnitude.size() ? -1 : 1;
  bool by_limbs = (a.has_limbs && b.has_limbs) || a.deferred != nullptr || b.deferred != nullptr;
  if (!by_limbs) return CompareMagnitudes(a.magnitude, b.magnitude);
  Limbs x = LimbsOf(a, &Scratch(0)), y = LimbsOf(b, &Scratch(1));
  MOX_ASSERT(x.size() == y.size());
  for (size_t i = x.size(); i-- > 0;)
    if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
  return 0;
}

int CompareIntegers(const IntText& a, const IntText& b) {
  if (a.negative != b.negative) return a.negative ? -1 : 1;
  int c = CompareIntegerMagnitudes(a, b);
  return a.negative ? -c : c;
}

CellRef IntegerSum(const IntText& a, const IntText& b) { return SignedSum(a, b); }

CellRef IntegerDifference(const IntText& a, const IntText& b) {
  IntText negated = b;
  if (!IsZero(b)) negated.negative = !b.negative;
  return SignedSum(a, negated);
}

CellRef IntegerNegation(const IntText& a) { return MagnitudeLeaf(!a.negative, a); }

CellRef IntegerProduct(const IntText& a, const IntText& b) {
  bool negative = a.negative != b.negative;
  if (IsSmall(a) && IsSmall(b)) {
    unsigned __int128 p = static_cast<unsigned __int128>(SmallValue(a)) * SmallValue(b);
    return WideLeaf(negative && p != 0, p);
  }
  if (IsZero(a) || IsZero(b)) return SmallIntegerLeaf(false, 0);
  if (IsSmall(b) || IsSmall(a)) {
    return IsSmall(b) ? MultiplyBySmall(a, b, negative) : MultiplyBySmall(b, a, negative);
  }
  if (std::min(a.magnitude.size(), b.magnitude.size()) < kSchoolbookDigits) {
    LimbVector& product = Scratch(2);
    MultiplyLimbs(LimbsOf(a, &Scratch(0)), LimbsOf(b, &Scratch(1)), &product);
    return LimbsLeaf(negative, product);
  }
  return MpzMagnitudes(a, b, negative, mpz_mul);
}

CellRef IntegerQuotient(const IntText& a, const IntText& b) {
  if (IsZero(b)) return CellRef();
  bool negative = a.negative != b.negative;
  if (IsSmall(a) && IsSmall(b)) return SmallIntegerLeaf(negative, SmallValue(a) / SmallValue(b));
  if (CompareIntegerMagnitudes(a, b) < 0) return SmallIntegerLeaf(false, 0);
  if (IsSmall(b)) {
    LimbVector& q = Scratch(2);
    DivideLimbsBySmall(LimbsOf(a, &Scratch(0)), SmallValue(b), &q);
    return LimbsLeaf(negative, q);
  }
  return MpzMagnitudes(a, b, negative, mpz_tdiv_q);
}

CellRef IntegerRemainder(const IntText& a, const IntText& b) {
  if (IsZero(b)) return CellRef();
  bool same = a.negative == b.negative;
  if (IsSmall(b)) {
    uint64_t d = SmallValue(b), r;
    if (IsSmall(a)) {
      r = SmallValue(a) % d;
    } else {
      r = DivideLimbsBySmall(LimbsOf(a, &Scratch(0)), d, &Scratch(2));
    }
    return SmallIntegerLeaf(false, same || r == 0 ? r : d - r);
  }
  if (CompareIntegerMagnitudes(a, b) < 0) {
    if (same || IsZero(a)) return MagnitudeLeaf(false, a);
    return SubtractMagnitudes(b, a, false);
  }
  Mpz x, y;
  MpzFromDigits(x.z, MagnitudeDigits(a));
  MpzFromDigits(y.z, MagnitudeDigits(b));
  mpz_tdiv_r(x.z, x.z, y.z);
  return RemainderLeaf(a, b, x.z);
}

bool PowerDigitsFit(double digits) {
  const double bytes = digits + 2;  // a sign byte and the NUL
  const uint64_t request = bytes < 0x1p64 ? static_cast<uint64_t>(bytes) : UINT64_MAX;
  return MemoryRequestFits(request, "a number") && digits <= kMaxPowerDigits;
}

CellRef IntegerPower(const IntText& a, const IntText& b) {
  if (b.negative) return SmallIntegerLeaf(false, 0);
  if (IsZero(b)) return SmallIntegerLeaf(false, 1);
  bool odd = ((MagnitudeDigits(b).back() - '0') & 1) != 0;
  bool negative = a.negative && odd;
  if (IsZero(a)) return SmallIntegerLeaf(false, 0);
  if (a.magnitude == "1") return SmallIntegerLeaf(negative, 1);
  // |a| >= 2: an exponent of 20 digits or more makes more digits than any
  // memory holds.
  const bool huge = b.magnitude.size() > 19;
  const uint64_t e = huge ? 0 : ReadDigits(b.magnitude.data(), b.magnitude.size());
  if (!PowerDigitsFit(huge ? HUGE_VAL : PowerDigitEstimate(a, e) + 1)) return CellRef();
  if (IsSmall(a)) {
    uint64_t base = SmallValue(a);
    int bits = 64 - __builtin_clzll(base);
    if (e * static_cast<uint64_t>(bits) <= 63) return SmallIntegerLeaf(negative, PowerSmall(base, e));
  }
  Mpz x;
  MpzFromDigits(x.z, MagnitudeDigits(a));
  if (!MpzPower(x.z, x.z, e)) return CellRef();  // interrupted
  if (negative) mpz_neg(x.z, x.z);
  return IntegerLeafFromMpz(x.z);
}

void MpzFromInteger(mpz_t z, IntText a) {
  MpzFromDigits(z, MagnitudeDigits(a));
  if (a.negative) mpz_neg(z, z);
}

CellRef IntegerLeafFromMpz(const mpz_t z) { return DigitsLeaf(mpz_sgn(z) < 0, MpzDigits(z)); }

}  // namespace mox
