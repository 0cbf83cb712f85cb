// Base-10^18 limb arithmetic on integer magnitudes.
#include "values/dec_limbs.h"

#include <utility>

#include "core/assert.h"
#include "values/dec_digits.h"

namespace mox {

namespace {

// A normalised count: without the high zero limbs of out[0..n).
size_t Normalised(const uint64_t* out, size_t n) {
  while (n > 0 && out[n - 1] == 0) --n;
  return n;
}

void Normalise(LimbVector* v) { v->resize(Normalised(v->data(), v->size())); }

// One limb of a sum, s = x + y + carry (below 2 * 10^18): the limb, and
// the carry out. Without branches: the carry is data, and a branch on it
// mispredicts on half the limbs of real numbers (five times slower).
inline uint64_t SumLimb(uint64_t s, uint64_t* carry) {
  uint64_t t = s - kLimbBase;
  uint64_t below = static_cast<uint64_t>(static_cast<int64_t>(t) >> 63);  // all ones when s < 10^18
  *carry = below + 1;
  return t + (kLimbBase & below);
}

// One limb of a difference, d = x - y - borrow (above -10^18): the limb,
// and the borrow out, without branches as above.
inline uint64_t DifferenceLimb(uint64_t d, uint64_t* borrow) {
  uint64_t below = static_cast<uint64_t>(static_cast<int64_t>(d) >> 63);  // all ones when d < 0
  *borrow = below & 1;
  return d + (kLimbBase & below);
}

}  // namespace

size_t ReadLimbs(std::string_view digits, uint64_t* out) {
  size_t n = digits.size();
  size_t full = n / kLimbDigits, top = n % kLimbDigits;
  const char* end = digits.data() + n;
  for (size_t i = 0; i < full; ++i) out[i] = ReadLimbDigits(end - kLimbDigits * (i + 1));
  size_t count = full;
  if (top != 0) out[count++] = ReadDigits(digits.data(), top);
  while (count > 0 && out[count - 1] == 0) --count;
  return count;
}

void LimbsFromDigits(std::string_view digits, LimbVector* out) {
  out->resize((digits.size() + kLimbDigits - 1) / kLimbDigits);
  out->resize(ReadLimbs(digits, out->data()));
}

size_t LimbDigitCount(Limbs a) {
  if (a.empty()) return 1;
  return (a.size() - 1) * kLimbDigits + static_cast<size_t>(DigitCount(a.back()));
}

void WriteLimbs(Limbs a, char* dst) {
  if (a.empty()) {
    *dst = '0';
    return;
  }
  int top = DigitCount(a.back());
  WriteDigits(dst, a.back(), top);
  dst += top;
  for (size_t i = a.size() - 1; i-- > 0;) {
    WriteLimbDigits(dst, a[i]);
    dst += kLimbDigits;
  }
}

// Two limbs a turn: the loop's own count and test are a fifth of the work
// of one limb.
size_t AddLimbsInto(Limbs a, Limbs b, uint64_t* o) {
  if (a.size() < b.size()) std::swap(a, b);
  uint64_t carry = 0;
  size_t i = 0;
  for (; i + 2 <= b.size(); i += 2) {
    o[i] = SumLimb(a[i] + b[i] + carry, &carry);
    o[i + 1] = SumLimb(a[i + 1] + b[i + 1] + carry, &carry);
  }
  for (; i < b.size(); ++i) o[i] = SumLimb(a[i] + b[i] + carry, &carry);
  for (; i < a.size(); ++i) o[i] = SumLimb(a[i] + carry, &carry);
  o[i] = carry;
  return Normalised(o, i + 1);
}

size_t SubtractLimbsInto(Limbs a, Limbs b, uint64_t* o) {
  MOX_ASSERT(a.size() >= b.size());
  uint64_t borrow = 0;
  size_t i = 0;
  for (; i < b.size(); ++i) o[i] = DifferenceLimb(a[i] - b[i] - borrow, &borrow);
  for (; i < a.size(); ++i) o[i] = DifferenceLimb(a[i] - borrow, &borrow);
  MOX_ASSERT(borrow == 0);
  return Normalised(o, a.size());
}

// Each limb's product a[i] * m is split at 10^18 on its own, so the splits
// overlap and only the cheap carry of the sums runs from limb to limb (a
// split that waits for the carry, through a 128-bit division, does not):
// with s = m / 10^18 in 64-bit fixed point, rounded down, the quotient
// floor(a[i] * s / 2^64) is the true one or one less (a[i] < 2^64), and the
// remainder, below 2 * 10^18, is exact in 64-bit arithmetic.
size_t MultiplyLimbsBySmallInto(Limbs a, uint64_t m, uint64_t* o) {
  MOX_ASSERT(m < kLimbBase);
  const uint64_t scaled = static_cast<uint64_t>((static_cast<unsigned __int128>(m) << 64) / kLimbBase);
  uint64_t high = 0, carry = 0;  // high < 10^18 - 1: the previous limb's quotient
  for (size_t i = 0; i < a.size(); ++i) {
    uint64_t q = static_cast<uint64_t>((static_cast<unsigned __int128>(a[i]) * scaled) >> 64);
    uint64_t one_more;
    uint64_t low = SumLimb(a[i] * m - q * kLimbBase, &one_more);
    q += one_more;
    o[i] = SumLimb(low + high + carry, &carry);
    high = q;
  }
  o[a.size()] = high + carry;
  return Normalised(o, a.size() + 1);
}

uint64_t DivideLimbsBySmall(Limbs a, uint64_t d, LimbVector* out) {
  MOX_ASSERT(d != 0 && d < kLimbBase);
  Reciprocal r = MakeReciprocal(d);
  out->resize(a.size());
  uint64_t rem = 0;
  for (size_t i = a.size(); i-- > 0;) {
    unsigned __int128 x = static_cast<unsigned __int128>(rem) * kLimbBase + a[i];
    (*out)[i] = DivRem128(static_cast<uint64_t>(x >> 64), static_cast<uint64_t>(x), r, &rem);
  }
  Normalise(out);
  return rem;
}

void MultiplyLimbs(Limbs a, Limbs b, LimbVector* out) {
  out->assign(a.size() + b.size(), 0);
  if (a.empty() || b.empty()) {
    out->clear();
    return;
  }
  uint64_t* o = out->data();
  for (size_t i = 0; i < a.size(); ++i) {
    uint64_t carry = 0;
    uint64_t ai = a[i];
    for (size_t j = 0; j < b.size(); ++j) {
      unsigned __int128 p = static_cast<unsigned __int128>(ai) * b[j] + o[i + j] + carry;
      carry = SplitAtLimbBase(p, &o[i + j]);
    }
    o[i + b.size()] = carry;
  }
  Normalise(out);
}

}  // namespace mox
