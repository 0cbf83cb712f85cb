// Bit spreading, gathering and reversal, a 64-bit word at a time.
#include "values/bit_spread.h"

#include "core/assert.h"

namespace mox {

namespace {

uint64_t Spread32(uint64_t v) {
  v = (v | (v << 16)) & 0x0000FFFF0000FFFFULL;
  v = (v | (v << 8)) & 0x00FF00FF00FF00FFULL;
  v = (v | (v << 4)) & 0x0F0F0F0F0F0F0F0FULL;
  v = (v | (v << 2)) & 0x3333333333333333ULL;
  v = (v | (v << 1)) & 0x5555555555555555ULL;
  return v;
}

uint64_t Compact32(uint64_t v) {  // the even bits of v, packed into 32 bits
  v &= 0x5555555555555555ULL;
  v = (v | (v >> 1)) & 0x3333333333333333ULL;
  v = (v | (v >> 2)) & 0x0F0F0F0F0F0F0F0FULL;
  v = (v | (v >> 4)) & 0x00FF00FF00FF00FFULL;
  v = (v | (v >> 8)) & 0x0000FFFF0000FFFFULL;
  v = (v | (v >> 16)) & 0x00000000FFFFFFFFULL;
  return v;
}

uint64_t Reverse64(uint64_t v) {
  v = ((v >> 1) & 0x5555555555555555ULL) | ((v & 0x5555555555555555ULL) << 1);
  v = ((v >> 2) & 0x3333333333333333ULL) | ((v & 0x3333333333333333ULL) << 2);
  v = ((v >> 4) & 0x0F0F0F0F0F0F0F0FULL) | ((v & 0x0F0F0F0F0F0F0F0FULL) << 4);
  return __builtin_bswap64(v);
}

void Finish(mpz_t z, mp_limb_t* limbs, mp_size_t n) {
  while (n > 0 && limbs[n - 1] == 0) --n;
  mpz_limbs_finish(z, n);
}

}  // namespace

void SpreadBits(mpz_t out, const mpz_t x) {
  MOX_ASSERT(out != x);
  mp_size_t n = static_cast<mp_size_t>(mpz_size(x));
  const mp_limb_t* in = mpz_limbs_read(x);
  mp_limb_t* o = mpz_limbs_write(out, 2 * n + 1);
  for (mp_size_t i = 0; i < n; ++i) {
    o[2 * i] = Spread32(in[i] & 0xFFFFFFFFULL);
    o[2 * i + 1] = Spread32(in[i] >> 32);
  }
  Finish(out, o, 2 * n);
}

void GatherBits(const mpz_t x, mpz_t evens, mpz_t odds) {
  MOX_ASSERT(evens != x && odds != x && evens != odds);
  mp_size_t n = static_cast<mp_size_t>(mpz_size(x));
  const mp_limb_t* in = mpz_limbs_read(x);
  mp_size_t half = (n + 1) / 2;
  mp_limb_t* e = mpz_limbs_write(evens, half + 1);
  mp_limb_t* o = mpz_limbs_write(odds, half + 1);
  for (mp_size_t i = 0; i < half; ++i) {
    uint64_t lo = in[2 * i];
    uint64_t hi = 2 * i + 1 < n ? in[2 * i + 1] : 0;
    e[i] = Compact32(lo) | (Compact32(hi) << 32);
    o[i] = Compact32(lo >> 1) | (Compact32(hi >> 1) << 32);
  }
  Finish(evens, e, half);
  Finish(odds, o, half);
}

void ReverseBits(mpz_t out, const mpz_t x, uint64_t n) {
  MOX_ASSERT(out != x);
  MOX_ASSERT(mpz_sizeinbase(x, 2) <= n || mpz_sgn(x) == 0);
  if (n == 0) {
    mpz_set_ui(out, 0);
    return;
  }
  mp_size_t words = static_cast<mp_size_t>((n + 63) / 64);
  mp_size_t have = static_cast<mp_size_t>(mpz_size(x));
  const mp_limb_t* in = mpz_limbs_read(x);
  mp_limb_t* o = mpz_limbs_write(out, words);
  for (mp_size_t k = 0; k < words; ++k) o[words - 1 - k] = k < have ? Reverse64(in[k]) : 0;
  Finish(out, o, words);
  mpz_tdiv_q_2exp(out, out, static_cast<mp_bitcnt_t>(words) * 64 - n);
}

}  // namespace mox
