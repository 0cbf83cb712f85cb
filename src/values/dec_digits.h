// Decimal digit kernels for the integer arithmetic: reading and writing runs
// of ASCII digits as 64-bit numbers eight digits at a time, and dividing a
// 128-bit number by a 64-bit divisor through a precomputed reciprocal (the
// compiler has no fast path for 128-bit division by a constant).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mox {

constexpr uint64_t kLimbBase = 1000000000000000000ULL;  // 10^18
constexpr int kLimbDigits = 18;

// Length of the leading run of ASCII digits of s.
size_t DigitRunLength(std::string_view s);

// The value of n <= 19 digits at p (19 digits must stay below 2^64).
uint64_t ReadDigits(const char* p, size_t n);

// The value of exactly 8 digits at p.
inline uint64_t ReadEightDigits(const char* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  v -= 0x3030303030303030ULL;
  v = v * 10 + (v >> 8);
  v = (((v & 0x000000FF000000FFULL) * 0x000F424000000064ULL) +
       (((v >> 16) & 0x000000FF000000FFULL) * 0x0000271000000001ULL)) >> 32;
  return v;
}

// The value of exactly 18 digits at p.
inline uint64_t ReadLimbDigits(const char* p) {
  return ReadEightDigits(p) * 10000000000ULL + ReadEightDigits(p + 8) * 100 +
         static_cast<uint64_t>(p[16] - '0') * 10 + static_cast<uint64_t>(p[17] - '0');
}

// Writes v < 10^8 as exactly 8 digits.
inline void WriteEightDigits(char* dst, uint32_t v) {
  uint64_t t = (v / 10000) | (static_cast<uint64_t>(v % 10000) << 32);
  uint64_t hundreds = ((t * 10486) >> 20) & 0x0000007F0000007FULL;
  t = hundreds | ((t - hundreds * 100) << 16);
  uint64_t tens = ((t * 103) >> 10) & 0x000F000F000F000FULL;
  t = tens | ((t - tens * 10) << 8);
  t += 0x3030303030303030ULL;
  std::memcpy(dst, &t, 8);
}

// Writes v < 10^16 as exactly 16 digits: the two 8-digit halves are split
// side by side in one vector register, into 4-digit, 2-digit and 1-digit
// lanes, each step a multiply by a reciprocal and a subtraction.
inline void WriteSixteenDigits(char* dst, uint64_t v) {
#if defined(__SSE2__)
  uint64_t hi = v / 100000000, lo = v % 100000000;
  __m128i x = _mm_set_epi64x(static_cast<long long>(lo), static_cast<long long>(hi));
  // 64-bit lanes: x / 10^4 (the multiplier and shift divide any 32-bit value)
  __m128i a = _mm_srli_epi64(_mm_mul_epu32(x, _mm_set1_epi64x(0xD1B71759)), 45);
  __m128i b = _mm_sub_epi32(x, _mm_mul_epu32(a, _mm_set1_epi64x(10000)));
  __m128i t = _mm_or_si128(a, _mm_slli_epi64(b, 32));  // 32-bit lanes below 10^4
  // (t * 5243) >> 19 is t / 100 for t < 43699
  __m128i c = _mm_srli_epi16(_mm_mulhi_epu16(t, _mm_set1_epi32(5243)), 3);
  __m128i d = _mm_sub_epi16(t, _mm_mullo_epi16(c, _mm_set1_epi16(100)));
  __m128i u = _mm_or_si128(c, _mm_slli_epi32(d, 16));  // 16-bit lanes below 100
  // (u * 6554) >> 16 is u / 10 for u < 100
  __m128i e = _mm_mulhi_epu16(u, _mm_set1_epi16(6554));
  __m128i f = _mm_sub_epi16(u, _mm_mullo_epi16(e, _mm_set1_epi16(10)));
  __m128i digits = _mm_or_si128(e, _mm_slli_epi16(f, 8));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_add_epi8(digits, _mm_set1_epi8('0')));
#else
  WriteEightDigits(dst, static_cast<uint32_t>(v / 100000000));
  WriteEightDigits(dst + 8, static_cast<uint32_t>(v % 100000000));
#endif
}

// "00" to "99", two bytes each.
extern const char kDigitPairs[200];

// Writes v < 10^18 as exactly 18 digits.
inline void WriteLimbDigits(char* dst, uint64_t v) {
  uint64_t top = v / 10000000000000000ULL;  // two digits
  std::memcpy(dst, kDigitPairs + 2 * top, 2);
  WriteSixteenDigits(dst + 2, v - top * 10000000000000000ULL);
}

inline constexpr uint64_t kPowersOfTen[20] = {1ULL,
                                              10ULL,
                                              100ULL,
                                              1000ULL,
                                              10000ULL,
                                              100000ULL,
                                              1000000ULL,
                                              10000000ULL,
                                              100000000ULL,
                                              1000000000ULL,
                                              10000000000ULL,
                                              100000000000ULL,
                                              1000000000000ULL,
                                              10000000000000ULL,
                                              100000000000000ULL,
                                              1000000000000000ULL,
                                              10000000000000000ULL,
                                              100000000000000000ULL,
                                              1000000000000000000ULL,
                                              10000000000000000000ULL};

// Number of decimal digits of v (1 for 0): from the bit length, times
// log10(2) in fixed point, less one below the power of ten it may reach.
// Inline, as every small number result is measured by it.
inline int DigitCount(uint64_t v) {
  if (v == 0) return 1;
  int t = ((64 - __builtin_clzll(v)) * 1233) >> 12;
  return t - (v < kPowersOfTen[t] ? 1 : 0) + 1;
}

// Writes v < 10^8 in its DigitCount(v) digits, ending just before end: two
// digits at a time from the pair table, the last one alone when the count
// is odd.
inline void WriteShortDigits(char* end, uint32_t v) {
  while (v >= 100) {
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * (v % 100), 2);
    v /= 100;
  }
  if (v >= 10) {
    std::memcpy(end - 2, kDigitPairs + 2 * v, 2);
  } else {
    end[-1] = static_cast<char>('0' + v);
  }
}

// Writes v in exactly DigitCount(v) digits.
void WriteDigits(char* dst, uint64_t v, int count);

// A divisor prepared for repeated 128-by-64-bit division: the divisor
// shifted until its top bit is set, and its reciprocal.
struct Reciprocal {
  uint64_t d;
  uint64_t v;
  int shift;
};

constexpr Reciprocal MakeReciprocal(uint64_t divisor) {  // divisor > 0
  int shift = __builtin_clzll(divisor);
  uint64_t d = divisor << shift;
  unsigned __int128 top = (static_cast<unsigned __int128>(~d) << 64) | ~uint64_t{0};
  return {d, static_cast<uint64_t>(top / d), shift};
}

inline constexpr Reciprocal kLimbBaseReciprocal = MakeReciprocal(kLimbBase);

// Quotient of (hi * 2^64 + lo) by the divisor, with hi below the divisor
// (so the quotient fits in 64 bits); the remainder goes to *rem.
inline uint64_t DivRem128(uint64_t hi, uint64_t lo, const Reciprocal& r, uint64_t* rem) {
  if (r.shift != 0) {
    hi = (hi << r.shift) | (lo >> (64 - r.shift));
    lo <<= r.shift;
  }
  unsigned __int128 q = static_cast<unsigned __int128>(r.v) * hi;
  q += (static_cast<unsigned __int128>(hi + 1) << 64) | lo;
  uint64_t q1 = static_cast<uint64_t>(q >> 64);
  uint64_t q0 = static_cast<uint64_t>(q);
  uint64_t rr = lo - q1 * r.d;
  if (rr > q0) {
    --q1;
    rr += r.d;
  }
  if (rr >= r.d) {
    ++q1;
    rr -= r.d;
  }
  *rem = rr >> r.shift;
  return q1;
}

// p split at 10^18: returns p / 10^18 (p below 10^18 * 2^64), *low = p % 10^18.
inline uint64_t SplitAtLimbBase(unsigned __int128 p, uint64_t* low) {
  return DivRem128(static_cast<uint64_t>(p >> 64), static_cast<uint64_t>(p), kLimbBaseReciprocal, low);
}

}  // namespace mox
