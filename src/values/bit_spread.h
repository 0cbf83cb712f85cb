// Bit shuffles on unbounded unsigned integers, for the bit form of exact
// binary numbers, which interleaves the integer bits with the fraction bits.
#pragma once

#include <gmp.h>

#include <cstdint>

namespace mox {

// out = x with bit k moved to bit 2k.
void SpreadBits(mpz_t out, const mpz_t x);

// evens gets bit 2k of x at bit k, odds bit 2k + 1 of x at bit k.
void GatherBits(const mpz_t x, mpz_t evens, mpz_t odds);

// out = the low n bits of x in reverse order (bit i to bit n - 1 - i);
// x must be below 2^n.
void ReverseBits(mpz_t out, const mpz_t x, uint64_t n);

}  // namespace mox
