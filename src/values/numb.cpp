// Exact binary number arithmetic. The text holds the magnitude bits M with
// bit 2k worth 2^k and bit 2m - 1 worth 2^-m; here the value is a plain
// mantissa and a power-of-two scale.
#include "values/numb.h"

#include <cmath>
#include <climits>

#include "values/bit_spread.h"
#include "values/numb_text.h"

namespace mox {

namespace {

void Normalise(Numb* n) {
  if (mpz_sgn(n->mantissa.z) == 0) {
    n->scale = 0;
    return;
  }
  mp_bitcnt_t low = mpz_scan1(n->mantissa.z, 0);
  uint64_t shift = low < n->scale ? low : n->scale;
  if (shift == 0) return;
  mpz_tdiv_q_2exp(n->mantissa.z, n->mantissa.z, shift);
  n->scale -= shift;
}

// out = |a| and |b| brought to the common scale; returns that scale.
uint64_t Align(const Numb& a, const Numb& b, mpz_t x, mpz_t y) {
  uint64_t scale = a.scale > b.scale ? a.scale : b.scale;
  mpz_mul_2exp(x, a.mantissa.z, scale - a.scale);
  mpz_mul_2exp(y, b.mantissa.z, scale - b.scale);
  return scale;
}

}  // namespace

void NumbFromText(std::string_view text, Numb* out) {
  Mpz m, whole, fraction;
  bool negative;
  ReadNumbText(text, m.z, &negative);
  GatherBits(m.z, whole.z, fraction.z);
  // fraction bit m - 1 is worth 2^-m: reversed over its length F it is the
  // fraction scaled by 2^F.
  uint64_t f = mpz_sgn(fraction.z) == 0 ? 0 : mpz_sizeinbase(fraction.z, 2);
  ReverseBits(out->mantissa.z, fraction.z, f);
  mpz_mul_2exp(whole.z, whole.z, f);
  mpz_ior(out->mantissa.z, out->mantissa.z, whole.z);
  if (negative) mpz_neg(out->mantissa.z, out->mantissa.z);
  out->scale = f;
  Normalise(out);
}

void NumbFromInteger(IntText a, Numb* out) {
  MpzFromInteger(out->mantissa.z, a);
  out->scale = 0;
}

CellRef NumbLeaf(const Numb& n) {
  Mpz magnitude, whole, fraction, reversed, m;
  mpz_abs(magnitude.z, n.mantissa.z);
  mpz_tdiv_q_2exp(whole.z, magnitude.z, n.scale);
  mpz_tdiv_r_2exp(fraction.z, magnitude.z, n.scale);
  ReverseBits(reversed.z, fraction.z, n.scale);
  SpreadBits(m.z, reversed.z);
  mpz_mul_2exp(m.z, m.z, 1);
  SpreadBits(fraction.z, whole.z);
  mpz_ior(m.z, m.z, fraction.z);
  return NumbTextLeaf(m.z, mpz_sgn(n.mantissa.z) < 0);
}

void NumbAdd(const Numb& a, const Numb& b, Numb* out) {
  Mpz y;
  out->scale = Align(a, b, out->mantissa.z, y.z);
  mpz_add(out->mantissa.z, out->mantissa.z, y.z);
  Normalise(out);
}

void NumbSubtract(const Numb& a, const Numb& b, Numb* out) {
  Mpz y;
  out->scale = Align(a, b, out->mantissa.z, y.z);
  mpz_sub(out->mantissa.z, out->mantissa.z, y.z);
  Normalise(out);
}

void NumbMultiply(const Numb& a, const Numb& b, Numb* out) {
  mpz_mul(out->mantissa.z, a.mantissa.z, b.mantissa.z);
  out->scale = a.scale + b.scale;
  Normalise(out);
}

bool NumbRemainder(const Numb& a, const Numb& b, Numb* out) {
  if (mpz_sgn(b.mantissa.z) == 0) return false;
  bool same = (mpz_sgn(a.mantissa.z) < 0) == (mpz_sgn(b.mantissa.z) < 0);
  Mpz y;
  out->scale = Align(a, b, out->mantissa.z, y.z);
  mpz_abs(out->mantissa.z, out->mantissa.z);
  mpz_abs(y.z, y.z);
  mpz_tdiv_r(out->mantissa.z, out->mantissa.z, y.z);
  if (!same && mpz_sgn(out->mantissa.z) != 0) mpz_sub(out->mantissa.z, y.z, out->mantissa.z);
  Normalise(out);
  return true;
}

bool NumbPower(const Numb& a, uint64_t e, Numb* out) {
  double bits = static_cast<double>(mpz_sizeinbase(a.mantissa.z, 2) + a.scale);
  // The text interleaves the bits: about 2 * 0.30103 digits per bit.
  if (mpz_cmpabs_ui(a.mantissa.z, 1) > 0 || a.scale != 0) {
    if (!PowerDigitsFit(bits * static_cast<double>(e) * 0.61)) return false;
  }
  if (!MpzPower(out->mantissa.z, a.mantissa.z, e)) return false;  // interrupted
  out->scale = a.scale * e;
  Normalise(out);
  return true;
}

int CompareNumbs(const Numb& a, const Numb& b) {
  Mpz x, y;
  Align(a, b, x.z, y.z);
  int c = mpz_cmp(x.z, y.z);
  return (c > 0) - (c < 0);
}

double NumbToDouble(const Numb& n) {
  if (mpz_sgn(n.mantissa.z) == 0) return 0.0;
  Mpz top;
  mpz_abs(top.z, n.mantissa.z);
  size_t bits = mpz_sizeinbase(top.z, 2);
  int64_t exponent = -static_cast<int64_t>(n.scale > INT64_MAX / 2 ? INT64_MAX / 2 : n.scale);
  uint64_t word;
  if (bits <= 64) {
    word = mpz_getlimbn(top.z, 0);
  } else {
    // Keep 64 bits and fold the rest into a sticky low bit, so that the
    // one rounding to 53 bits below is correct.
    size_t drop = bits - 64;
    bool sticky = mpz_scan1(top.z, 0) < drop;
    mpz_tdiv_q_2exp(top.z, top.z, drop);
    word = mpz_getlimbn(top.z, 0) | (sticky ? 1 : 0);
    exponent += static_cast<int64_t>(drop);
  }
  double d = static_cast<double>(word);
  if (exponent > INT_MAX) exponent = INT_MAX;
  if (exponent < INT_MIN) exponent = INT_MIN;
  d = std::ldexp(d, static_cast<int>(exponent));
  return mpz_sgn(n.mantissa.z) < 0 ? -d : d;
}

}  // namespace mox
