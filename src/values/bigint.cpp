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

bool IsSmall(IntText a) { return a.magnitude.size() <= kSmallDigits; }
uint64_t SmallValue(IntText a) { return ReadDigits(a.magnitude.data(), a.magnitude.size()); }

// A new integer leaf: the sign byte written, ndigits left to fill.
Cell* StartInteger(bool negative, size_t ndigits, char** digits) {
  Cell* c = AllocLeaf(ndigits + (negative ? 1 : 0));
  char* p = reinterpret_cast<char*>(c->Bytes());
  if (negative) *p++ = '0';
  *digits = p;
  return c;
}

CellRef FinishInteger(Cell* c) {
  CellRef leaf = FinishLeaf(c);
  MOX_ASSERT(IsCanonicalInteger(LeafView(leaf.get())));
  return leaf;
}

CellRef LimbsLeaf(bool negative, const LimbVector& v) {
  char* p;
  Cell* c = StartInteger(negative && !v.empty(), LimbDigitCount(v), &p);
  WriteLimbs(v, p);
  return FinishInteger(c);
}

CellRef DigitsLeaf(bool negative, std::string_view digits) {
  char* p;
  Cell* c = StartInteger(negative && digits != "0", digits.size(), &p);
  std::memcpy(p, digits.data(), digits.size());
  return FinishInteger(c);
}

CellRef WideLeaf(bool negative, unsigned __int128 v) {
  if ((v >> 64) == 0) return SmallIntegerLeaf(negative, static_cast<uint64_t>(v));
  uint64_t low;
  uint64_t high = SplitAtLimbBase(v, &low);  // v < 10^36
  int top = DigitCount(high);
  char* p;
  Cell* c = StartInteger(negative, static_cast<size_t>(top) + kLimbDigits, &p);
  WriteDigits(p, high, top);
  WriteLimbDigits(p + top, low);
  return FinishInteger(c);
}

CellRef AddMagnitudes(std::string_view a, std::string_view b, bool negative) {
  LimbVector x, y, sum;
  LimbsFromDigits(a, &x);
  LimbsFromDigits(b, &y);
  AddLimbs(x, y, &sum);
  return LimbsLeaf(negative, sum);
}

// |a| - |b| with |a| >= |b|.
CellRef SubtractMagnitudes(std::string_view a, std::string_view b, bool negative) {
  LimbVector x, y, diff;
  LimbsFromDigits(a, &x);
  LimbsFromDigits(b, &y);
  SubtractLimbs(x, y, &diff);
  return LimbsLeaf(negative, diff);
}

CellRef SignedSum(IntText a, IntText b) {
  if (IsSmall(a) && IsSmall(b)) {
    uint64_t x = SmallValue(a), y = SmallValue(b);
    if (a.negative == b.negative) return SmallIntegerLeaf(a.negative, x + y);
    return x >= y ? SmallIntegerLeaf(a.negative, x - y) : SmallIntegerLeaf(b.negative, y - x);
  }
  if (a.negative == b.negative) return AddMagnitudes(a.magnitude, b.magnitude, a.negative);
  int order = CompareMagnitudes(a.magnitude, b.magnitude);
  if (order == 0) return SmallIntegerLeaf(false, 0);
  if (order > 0) return SubtractMagnitudes(a.magnitude, b.magnitude, a.negative);
  return SubtractMagnitudes(b.magnitude, a.magnitude, b.negative);
}

CellRef MpzProduct(IntText a, IntText b, bool negative) {
  Mpz x, y;
  MpzFromDigits(x.z, a.magnitude);
  MpzFromDigits(y.z, b.magnitude);
  mpz_mul(x.z, x.z, y.z);
  if (negative) mpz_neg(x.z, x.z);
  return IntegerLeafFromMpz(x.z);
}

// |a| mod |b| as a magnitude leaf-to-be: the remainder rule applied.
CellRef RemainderLeaf(IntText a, IntText b, const mpz_t r) {
  if (a.negative == b.negative || mpz_sgn(r) == 0) return IntegerLeafFromMpz(r);
  Mpz m;
  MpzFromDigits(m.z, b.magnitude);
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
double PowerDigitEstimate(IntText a, uint64_t e) {
  size_t k = a.magnitude.size() < 15 ? a.magnitude.size() : 15;
  double lead = static_cast<double>(ReadDigits(a.magnitude.data(), k));
  double log10a = std::log10(lead) + static_cast<double>(a.magnitude.size() - k);
  return log10a * static_cast<double>(e);
}

}  // namespace

IntText ReadIntText(std::string_view text) {
  text = text.substr(0, DigitRunLength(text));
  bool negative = text.size() > 1 && text[0] == '0';
  size_t lead = 0;
  while (lead < text.size() && text[lead] == '0') ++lead;
  if (lead == text.size()) return {false, "0"};
  return {negative, text.substr(lead)};
}

int CompareMagnitudes(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  int c = std::memcmp(a.data(), b.data(), a.size());
  return (c > 0) - (c < 0);
}

bool IsCanonicalInteger(std::string_view text) {
  if (text.empty()) return false;
  if (text.size() == 1) return IsDigit(static_cast<unsigned char>(text[0]));
  size_t start = text[0] == '0' ? 1 : 0;
  return text[start] >= '1' && text[start] <= '9';
}

CellRef SmallIntegerLeaf(bool negative, uint64_t magnitude) {
  int n = DigitCount(magnitude);
  char* p;
  Cell* c = StartInteger(negative && magnitude != 0, static_cast<size_t>(n), &p);
  WriteDigits(p, magnitude, n);
  return FinishInteger(c);
}

CellRef IntegerSum(IntText a, IntText b) { return SignedSum(a, b); }

CellRef IntegerDifference(IntText a, IntText b) {
  if (!IsZero(b)) b.negative = !b.negative;
  return SignedSum(a, b);
}

CellRef IntegerNegation(IntText a) { return DigitsLeaf(!a.negative, a.magnitude); }

CellRef IntegerProduct(IntText a, IntText b) {
  bool negative = a.negative != b.negative;
  if (IsSmall(a) && IsSmall(b)) {
    unsigned __int128 p = static_cast<unsigned __int128>(SmallValue(a)) * SmallValue(b);
    return WideLeaf(negative && p != 0, p);
  }
  if (IsZero(a) || IsZero(b)) return SmallIntegerLeaf(false, 0);
  if (IsSmall(b) || IsSmall(a)) {
    IntText big = IsSmall(b) ? a : b, small = IsSmall(b) ? b : a;
    LimbVector x, product;
    LimbsFromDigits(big.magnitude, &x);
    MultiplyLimbsBySmall(x, SmallValue(small), &product);
    return LimbsLeaf(negative, product);
  }
  if (std::min(a.magnitude.size(), b.magnitude.size()) < kSchoolbookDigits) {
    LimbVector x, y, product;
    LimbsFromDigits(a.magnitude, &x);
    LimbsFromDigits(b.magnitude, &y);
    MultiplyLimbs(x, y, &product);
    return LimbsLeaf(negative, product);
  }
  return MpzProduct(a, b, negative);
}

CellRef IntegerQuotient(IntText a, IntText b) {
  if (IsZero(b)) return CellRef();
  bool negative = a.negative != b.negative;
  if (IsSmall(a) && IsSmall(b)) return SmallIntegerLeaf(negative, SmallValue(a) / SmallValue(b));
  if (CompareMagnitudes(a.magnitude, b.magnitude) < 0) return SmallIntegerLeaf(false, 0);
  if (IsSmall(b)) {
    LimbVector x, q;
    LimbsFromDigits(a.magnitude, &x);
    DivideLimbsBySmall(x, SmallValue(b), &q);
    return LimbsLeaf(negative, q);
  }
  Mpz x, y;
  MpzFromDigits(x.z, a.magnitude);
  MpzFromDigits(y.z, b.magnitude);
  mpz_tdiv_q(x.z, x.z, y.z);
  if (negative) mpz_neg(x.z, x.z);
  return IntegerLeafFromMpz(x.z);
}

CellRef IntegerRemainder(IntText a, IntText b) {
  if (IsZero(b)) return CellRef();
  bool same = a.negative == b.negative;
  if (IsSmall(b)) {
    uint64_t d = SmallValue(b), r;
    if (IsSmall(a)) {
      r = SmallValue(a) % d;
    } else {
      LimbVector x, q;
      LimbsFromDigits(a.magnitude, &x);
      r = DivideLimbsBySmall(x, d, &q);
    }
    return SmallIntegerLeaf(false, same || r == 0 ? r : d - r);
  }
  if (CompareMagnitudes(a.magnitude, b.magnitude) < 0) {
    if (same || IsZero(a)) return DigitsLeaf(false, a.magnitude);
    return SubtractMagnitudes(b.magnitude, a.magnitude, false);
  }
  Mpz x, y;
  MpzFromDigits(x.z, a.magnitude);
  MpzFromDigits(y.z, b.magnitude);
  mpz_tdiv_r(x.z, x.z, y.z);
  return RemainderLeaf(a, b, x.z);
}

CellRef IntegerPower(IntText a, IntText b) {
  if (b.negative) return SmallIntegerLeaf(false, 0);
  if (IsZero(b)) return SmallIntegerLeaf(false, 1);
  bool odd = ((b.magnitude.back() - '0') & 1) != 0;
  bool negative = a.negative && odd;
  if (IsZero(a)) return SmallIntegerLeaf(false, 0);
  if (a.magnitude == "1") return SmallIntegerLeaf(negative, 1);
  if (b.magnitude.size() > 19) return CellRef();  // |a| >= 2: far too many digits
  uint64_t e = ReadDigits(b.magnitude.data(), b.magnitude.size());
  if (PowerDigitEstimate(a, e) > kMaxPowerDigits) return CellRef();
  if (IsSmall(a)) {
    uint64_t base = SmallValue(a);
    int bits = 64 - __builtin_clzll(base);
    if (e * static_cast<uint64_t>(bits) <= 63) return SmallIntegerLeaf(negative, PowerSmall(base, e));
  }
  if (!MemoryRequestFits(static_cast<size_t>(PowerDigitEstimate(a, e)), "a number")) return CellRef();
  Mpz x;
  MpzFromDigits(x.z, a.magnitude);
  if (!MpzPower(x.z, x.z, e)) return CellRef();  // interrupted
  if (negative) mpz_neg(x.z, x.z);
  return IntegerLeafFromMpz(x.z);
}

void MpzFromInteger(mpz_t z, IntText a) {
  MpzFromDigits(z, a.magnitude);
  if (a.negative) mpz_neg(z, z);
}

CellRef IntegerLeafFromMpz(const mpz_t z) { return DigitsLeaf(mpz_sgn(z) < 0, MpzDigits(z)); }

}  // namespace mox
