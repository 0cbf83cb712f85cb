// Integer magnitudes as little-endian base-10^18 limbs: the working form of
// the decimal integer arithmetic. Parsing from and printing to decimal text
// is linear (18 digits per limb), and so are addition, subtraction and
// multiplication or division by one limb. A normalised vector has no high
// zero limb; zero is the empty vector.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace mox {

using LimbVector = std::vector<uint64_t>;
using Limbs = std::span<const uint64_t>;

// digits: a magnitude without leading zeros ("0" for zero).
void LimbsFromDigits(std::string_view digits, LimbVector* out);
// The same into out, which has room for ceil(size / 18) limbs; returns the
// normalised limb count.
size_t ReadLimbs(std::string_view digits, uint64_t* out);

// Decimal digits of a normalised magnitude (1 for zero) and the digits
// themselves, written to dst.
size_t LimbDigitCount(Limbs a);
void WriteLimbs(Limbs a, char* dst);

// out = a + b; out = a - b with a >= b; out = a * m with m < 10^18. The
// results go straight where they are kept (a new leaf's tail): out has room
// for max(|a|, |b|) + 1 limbs (a sum), |a| (a difference) or |a| + 1 (a
// product), and may not alias a or b. They return the normalised count.
size_t AddLimbsInto(Limbs a, Limbs b, uint64_t* out);
size_t SubtractLimbsInto(Limbs a, Limbs b, uint64_t* out);
size_t MultiplyLimbsBySmallInto(Limbs a, uint64_t m, uint64_t* out);

// out = a / d with 0 < d < 10^18; returns a % d.
uint64_t DivideLimbsBySmall(Limbs a, uint64_t d, LimbVector* out);

// out = a * b, schoolbook (quadratic): for operands of a few limbs.
void MultiplyLimbs(Limbs a, Limbs b, LimbVector* out);

}  // namespace mox
