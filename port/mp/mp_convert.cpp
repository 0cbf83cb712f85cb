// Radix conversion and doubles: digit strings to and from limbs by chunks of
// as many digits as one limb holds, the size of a number in a base, and
// truncation of a double.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "limbs.h"

namespace mpshim {

namespace {

// The most digits of `base` whose value always fits one limb, and base^that.
struct Chunk {
  int digits;
  mp_limb_t power;
};

Chunk ChunkOf(int base) {
  Chunk c{0, 1};
  const mp_limb_t b = static_cast<mp_limb_t>(base);
  while (c.power <= ~mp_limb_t{0} / b) {
    c.power *= b;
    ++c.digits;
  }
  return c;
}

// The number of significant bits of |z|.
size_t BitLength(mpz_srcptr z) {
  size_t n = mpz_size(z);
  if (n == 0) return 0;
  return (n - 1) * 64 + static_cast<size_t>(64 - __builtin_clzll(z->d[n - 1]));
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

// Limbs of digit values, most significant first.
Limbs LimbsOfDigits(const unsigned char* digits, size_t count, int base) {
  Chunk chunk = ChunkOf(base);
  Limbs value;
  size_t at = 0;
  while (at < count) {
    size_t take = std::min(static_cast<size_t>(chunk.digits), count - at);
    mp_limb_t part = 0, scale = 1;
    for (size_t i = 0; i < take; ++i) {
      part = part * static_cast<mp_limb_t>(base) + digits[at + i];
      scale *= static_cast<mp_limb_t>(base);
    }
    MulAddLimb(value, scale, part);
    at += take;
  }
  return value;
}

}  // namespace

mp_size_t mpn_set_str(mp_limb_t* r, const unsigned char* digits, size_t count, int base) {
  Limbs value = LimbsOfDigits(digits, count, base);
  if (!value.empty()) std::memcpy(r, value.data(), value.size() * sizeof(mp_limb_t));
  return static_cast<mp_size_t>(value.size());
}

size_t mpn_get_str(unsigned char* digits, int base, mp_limb_t* limbs, mp_size_t n) {
  Chunk chunk = ChunkOf(base);
  Limbs value(limbs, limbs + n);
  Trim(value);
  std::vector<unsigned char> reversed;  // least significant digit first
  do {
    mp_limb_t part = DivLimb(value, chunk.power);
    for (int i = 0; i < chunk.digits; ++i) {
      reversed.push_back(static_cast<unsigned char>(part % static_cast<mp_limb_t>(base)));
      part /= static_cast<mp_limb_t>(base);
    }
  } while (!value.empty());
  while (reversed.size() > 1 && reversed.back() == 0) reversed.pop_back();
  std::copy(reversed.rbegin(), reversed.rend(), digits);
  return reversed.size();
}

int mpz_set_str(mpz_ptr z, const char* text, int base) {
  if (base < 2 || base > 36) return -1;
  const char* p = text;
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  bool negative = *p == '-';
  if (negative) ++p;
  std::vector<unsigned char> digits;
  for (; *p != '\0'; ++p) {
    if (std::isspace(static_cast<unsigned char>(*p))) continue;
    int v = DigitValue(*p);
    if (v >= base) return -1;
    digits.push_back(static_cast<unsigned char>(v));
  }
  if (digits.empty()) return -1;
  Assign(z, negative, LimbsOfDigits(digits.data(), digits.size(), base));
  return 0;
}

size_t mpz_sizeinbase(mpz_srcptr z, int base) {
  size_t bits = BitLength(z);
  if (bits == 0) return 1;
  if ((base & (base - 1)) == 0) {
    size_t per = static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(base)));
    return (bits + per - 1) / per;
  }
  // bits * log_base(2), nudged up so that rounding never gives too few.
  double digits = static_cast<double>(bits) * (std::log(2.0) / std::log(static_cast<double>(base)));
  return static_cast<size_t>(digits * (1 + 1e-14)) + 1;
}

void mpz_set_d(mpz_ptr z, double v) {
  if (!std::isfinite(v)) std::abort();  // GMP refuses infinities and NaN as well
  int exponent;
  double fraction = std::frexp(std::fabs(v), &exponent);  // |v| = fraction * 2^exponent
  if (exponent <= 0) {
    mpz_set_ui(z, 0);
    return;
  }
  // fraction * 2^64 is an integer below 2^64 (a double has 53 bits).
  Limbs m{static_cast<mp_limb_t>(std::ldexp(fraction, 64))};
  m = exponent >= 64 ? ShiftLeftLimbs(m, static_cast<uint64_t>(exponent - 64))
                     : ShiftRightLimbs(m, static_cast<uint64_t>(64 - exponent));
  Assign(z, v < 0, m);
}

}  // namespace mpshim
