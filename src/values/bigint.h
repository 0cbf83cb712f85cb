// Unbounded integer arithmetic on integer texts: decimal digits, most
// significant first, with one leading "0" as the minus sign ("05" is -5,
// "0" is zero). Every result is a new canonical integer leaf.
//
// Values of up to 18 digits are computed in machine words without any
// allocation but the result leaf; longer ones go through base-10^18 limbs
// (sums, differences, products and quotients by one limb), which big
// integer leaves carry beside their text (int_leaf.h); products, quotients
// and powers of big operands are handed to GMP.
#pragma once

#include <gmp.h>

#include <cstdint>
#include <string_view>

#include "core/cell.h"
#include "values/int_leaf.h"

namespace mox {

inline bool IsZero(const IntText& a) { return a.magnitude.size() == 1 && a.magnitude[0] == '0'; }

// Orders magnitudes (digit texts without leading zeros): -1, 0 or 1.
int CompareMagnitudes(std::string_view a, std::string_view b);

// Orders the magnitudes, or the signed values, of two integers taken apart:
// -1, 0 or 1. A deferred text (int_leaf.h) stays unwritten.
int CompareIntegerMagnitudes(const IntText& a, const IntText& b);
int CompareIntegers(const IntText& a, const IntText& b);

CellRef IntegerSum(const IntText& a, const IntText& b);
CellRef IntegerDifference(const IntText& a, const IntText& b);
CellRef IntegerProduct(const IntText& a, const IntText& b);
CellRef IntegerNegation(const IntText& a);

// Quotient truncated toward zero; null when b is zero.
CellRef IntegerQuotient(const IntText& a, const IntText& b);

// Remainder, never negative: with r = |a| mod |b|, r when a and b have the
// same sign, else 0 for r = 0 and |b| - r otherwise. Null when b is zero.
CellRef IntegerRemainder(const IntText& a, const IntText& b);

// The most digits a power may have: its squarings and its decimal text
// would take minutes past that.
constexpr double kMaxPowerDigits = 4294967296.0;

// Whether a power of at most `digits` decimal digits may be computed. Its
// text is a memory request first (core/memory.h): one past the machine's
// memory is reported there as out of memory, whatever the digit limit.
// False past kMaxPowerDigits, or when the request was refused.
bool PowerDigitsFit(double digits);

// a to the power b: "0" for b < 0, "1" for b = 0 (also when a is zero).
// Null when PowerDigitsFit refuses the result's size, or when an interrupt
// came while it was being computed (values/mpz_text.h).
CellRef IntegerPower(const IntText& a, const IntText& b);

// GMP forms of integers.
void MpzFromInteger(mpz_t z, IntText a);
CellRef IntegerLeafFromMpz(const mpz_t z);

}  // namespace mox
