// Magnitude arithmetic on little-endian limb vectors, the layer under the
// mpz functions. A magnitude is normalised when its top limb is non-zero;
// every function here returns a normalised magnitude (zero is empty).
#pragma once

#include <vector>

#include "mp_shim.h"

namespace mpshim {

using Limbs = std::vector<mp_limb_t>;

void Trim(Limbs& a);

// -1, 0 or 1 for normalised magnitudes.
int CompareLimbs(const Limbs& a, const Limbs& b);

Limbs AddLimbs(const Limbs& a, const Limbs& b);
Limbs SubLimbs(const Limbs& a, const Limbs& b);  // a >= b
Limbs MulLimbs(const Limbs& a, const Limbs& b);

// q = a / b and r = a % b; b non-empty.
void DivModLimbs(const Limbs& a, const Limbs& b, Limbs* q, Limbs* r);

// a = a * m + add, in place (a normalised or empty).
void MulAddLimb(Limbs& a, mp_limb_t m, mp_limb_t add);
// a = a / d in place, answering the remainder; d non-zero.
mp_limb_t DivLimb(Limbs& a, mp_limb_t d);

Limbs ShiftLeftLimbs(const Limbs& a, uint64_t bits);
Limbs ShiftRightLimbs(const Limbs& a, uint64_t bits);

// The magnitude of z, and z set from a sign and a magnitude.
Limbs MagnitudeOf(mpz_srcptr z);
void Assign(mpz_ptr z, bool negative, const Limbs& magnitude);

}  // namespace mpshim
