// Shifts and single bits of the stand-in integers. Shifts act on the
// magnitude (truncation toward zero); bit reads and writes see a negative
// number in two's complement, extended with ones without end.
#include <algorithm>

#include "limbs.h"

namespace mpshim {

namespace {

constexpr int kBits = 64;

// The first n limbs of z in two's complement; n must exceed z's limb count
// so that the top limb carries the sign.
Limbs TwosComplement(mpz_srcptr z, size_t n) {
  Limbs out = MagnitudeOf(z);
  out.resize(n, 0);
  if (z->size < 0) {
    mp_limb_t carry = 1;
    for (mp_limb_t& limb : out) {
      limb = ~limb + carry;
      carry = (carry != 0 && limb == 0) ? 1 : 0;
    }
  }
  return out;
}

// z from two's complement limbs (the top bit is the sign).
void AssignTwosComplement(mpz_ptr z, Limbs limbs) {
  bool negative = !limbs.empty() && (limbs.back() >> (kBits - 1)) != 0;
  if (negative) {
    mp_limb_t carry = 1;
    for (mp_limb_t& limb : limbs) {
      limb = ~limb + carry;
      carry = (carry != 0 && limb == 0) ? 1 : 0;
    }
  }
  Trim(limbs);
  Assign(z, negative, limbs);
}

size_t LimbOf(mp_bitcnt_t bit) { return static_cast<size_t>(bit / kBits); }
mp_limb_t MaskOf(mp_bitcnt_t bit) { return mp_limb_t{1} << (bit % kBits); }

// Sets, clears or flips one bit: in place for a non-negative number, through
// two's complement for a negative one.
enum class BitChange { kSet, kClear, kFlip };

void ChangeBit(mpz_ptr z, mp_bitcnt_t bit, BitChange change) {
  size_t at = LimbOf(bit);
  size_t n = std::max(mpz_size(z), at + 1) + 1;
  Limbs limbs = TwosComplement(z, n);
  switch (change) {
    case BitChange::kSet: limbs[at] |= MaskOf(bit); break;
    case BitChange::kClear: limbs[at] &= ~MaskOf(bit); break;
    case BitChange::kFlip: limbs[at] ^= MaskOf(bit); break;
  }
  AssignTwosComplement(z, std::move(limbs));
}

void ChangeNonNegative(mpz_ptr z, mp_bitcnt_t bit, bool set) {
  size_t at = LimbOf(bit), size = mpz_size(z);
  if (!set && at >= size) return;
  if (at >= size) {
    mp_limb_t* d = mpz_limbs_write(z, static_cast<mp_size_t>(at + 1));
    for (size_t i = size; i <= at; ++i) d[i] = 0;
    size = at + 1;
  }
  if (set) z->d[at] |= MaskOf(bit);
  else z->d[at] &= ~MaskOf(bit);
  mpz_limbs_finish(z, static_cast<mp_size_t>(size));
}

}  // namespace

void mpz_mul_2exp(mpz_ptr r, mpz_srcptr a, mp_bitcnt_t bits) {
  Assign(r, a->size < 0, ShiftLeftLimbs(MagnitudeOf(a), bits));
}

void mpz_tdiv_q_2exp(mpz_ptr q, mpz_srcptr n, mp_bitcnt_t bits) {
  Assign(q, n->size < 0, ShiftRightLimbs(MagnitudeOf(n), bits));
}

void mpz_tdiv_r_2exp(mpz_ptr r, mpz_srcptr n, mp_bitcnt_t bits) {
  Limbs m = MagnitudeOf(n);
  size_t keep = LimbOf(bits);
  if (keep < m.size()) {
    m.resize(keep + 1);
    m[keep] &= MaskOf(bits) - 1;
    Trim(m);
  }
  Assign(r, n->size < 0, m);
}

int mpz_tstbit(mpz_srcptr z, mp_bitcnt_t bit) {
  size_t at = LimbOf(bit), size = mpz_size(z);
  if (at >= size) return z->size < 0 ? 1 : 0;
  mp_limb_t limb = z->d[at];
  if (z->size < 0) {
    // Limb `at` of -m is ~(m - 1): m - 1 borrows from it only when every
    // limb below it is zero.
    bool lowZero = std::all_of(z->d, z->d + at, [](mp_limb_t l) { return l == 0; });
    limb = ~(limb - (lowZero ? 1 : 0));
  }
  return (limb & MaskOf(bit)) != 0 ? 1 : 0;
}

void mpz_setbit(mpz_ptr z, mp_bitcnt_t bit) {
  if (z->size < 0) ChangeBit(z, bit, BitChange::kSet);
  else ChangeNonNegative(z, bit, true);
}

void mpz_clrbit(mpz_ptr z, mp_bitcnt_t bit) {
  if (z->size < 0) ChangeBit(z, bit, BitChange::kClear);
  else ChangeNonNegative(z, bit, false);
}

void mpz_combit(mpz_ptr z, mp_bitcnt_t bit) {
  if (z->size < 0) ChangeBit(z, bit, BitChange::kFlip);
  else ChangeNonNegative(z, bit, mpz_tstbit(z, bit) == 0);
}

mp_bitcnt_t mpz_scan1(mpz_srcptr z, mp_bitcnt_t start) {
  size_t size = mpz_size(z);
  if (LimbOf(start) >= size) return z->size < 0 ? start : ~mp_bitcnt_t{0};
  Limbs limbs = TwosComplement(z, size + 1);
  for (size_t at = LimbOf(start); at < limbs.size(); ++at) {
    mp_limb_t limb = limbs[at];
    if (at == LimbOf(start)) limb &= ~(MaskOf(start) - 1);
    if (limb != 0) return static_cast<mp_bitcnt_t>(at) * kBits + static_cast<mp_bitcnt_t>(__builtin_ctzll(limb));
  }
  return ~mp_bitcnt_t{0};
}

void mpz_ior(mpz_ptr r, mpz_srcptr a, mpz_srcptr b) {
  size_t n = std::max(mpz_size(a), mpz_size(b)) + 1;
  Limbs x = TwosComplement(a, n), y = TwosComplement(b, n);
  for (size_t i = 0; i < n; ++i) x[i] |= y[i];
  AssignTwosComplement(r, std::move(x));
}

}  // namespace mpshim
