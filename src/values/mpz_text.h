// The bridge between decimal digit texts and GMP integers, used where the
// arithmetic hands large operands to GMP (products and quotients of big
// numbers, powers, the bit forms of numbers). GMP converts in both
// directions in sub-quadratic time.
#pragma once

#include <gmp.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace mox {

static_assert(GMP_NUMB_BITS == 64, "limbs are 64-bit words");

// An owned GMP integer (initialised to zero, cleared on scope exit).
struct Mpz {
  mpz_t z;
  Mpz() { mpz_init(z); }
  ~Mpz() { mpz_clear(z); }
  Mpz(const Mpz&) = delete;
  Mpz& operator=(const Mpz&) = delete;
};

// z = the non-negative number written with these decimal digits (leading
// zeros allowed; the empty text is zero).
void MpzFromDigits(mpz_t z, std::string_view digits);

// The decimal digits of |z| without leading zeros ("0" for zero).
std::string MpzDigits(const mpz_t z);

// out = base^e by squaring and multiplying, one round per bit of e, so that
// an interrupt (core/interrupt.h) is noticed between rounds: false when it
// was, with out undefined. A round is one GMP call, which cannot be
// stopped; the last, the largest, takes about as long as the whole power
// before it.
bool MpzPower(mpz_t out, const mpz_t base, uint64_t e);

}  // namespace mox
