// Exact binary numbers (`numb`): values mantissa * 2^-scale of unbounded
// precision, read from and written to their interleaved text form, with
// exact sum, difference, product, remainder and power.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/cell.h"
#include "values/bigint.h"
#include "values/mpz_text.h"

namespace mox {

// value = mantissa * 2^-scale. Normalised: the mantissa is odd or the
// scale is 0 (zero has scale 0).
struct Numb {
  Mpz mantissa;
  uint64_t scale = 0;
};

void NumbFromText(std::string_view text, Numb* out);  // a `numb` text
void NumbFromInteger(IntText a, Numb* out);           // exact
CellRef NumbLeaf(const Numb& n);

void NumbAdd(const Numb& a, const Numb& b, Numb* out);
void NumbSubtract(const Numb& a, const Numb& b, Numb* out);
void NumbMultiply(const Numb& a, const Numb& b, Numb* out);
// Remainder by the integer rule: r = |a| mod |b| (exact), r when a and b
// have the same sign, else 0 for r = 0 and |b| - r. False when b is zero.
bool NumbRemainder(const Numb& a, const Numb& b, Numb* out);
// a to the power e by repeated squaring; false when PowerDigitsFit
// (values/bigint.h) refuses the size of its text.
bool NumbPower(const Numb& a, uint64_t e, Numb* out);

// Numeric order: -1, 0 or 1.
int CompareNumbs(const Numb& a, const Numb& b);

// The nearest double (ties to even; out of range gives an infinity).
double NumbToDouble(const Numb& n);

}  // namespace mox
