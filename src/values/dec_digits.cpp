// Decimal digit kernels: digit runs, small values to and from digits.
#include "values/dec_digits.h"

namespace mox {

namespace {

inline bool EightDigits(const char* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return ((v & 0xF0F0F0F0F0F0F0F0ULL) | (((v + 0x0606060606060606ULL) & 0xF0F0F0F0F0F0F0F0ULL) >> 4)) ==
         0x3333333333333333ULL;
}

}  // namespace

const char kDigitPairs[200] = {
#define MOX_PAIRS(t) t, '0', t, '1', t, '2', t, '3', t, '4', t, '5', t, '6', t, '7', t, '8', t, '9'
    MOX_PAIRS('0'), MOX_PAIRS('1'), MOX_PAIRS('2'), MOX_PAIRS('3'), MOX_PAIRS('4'),
    MOX_PAIRS('5'), MOX_PAIRS('6'), MOX_PAIRS('7'), MOX_PAIRS('8'), MOX_PAIRS('9'),
#undef MOX_PAIRS
};

size_t DigitRunLength(std::string_view s) {
  const char* p = s.data();
  size_t n = s.size(), i = 0;
  while (i + 8 <= n && EightDigits(p + i)) i += 8;
  while (i < n && p[i] >= '0' && p[i] <= '9') ++i;
  return i;
}

uint64_t ReadDigits(const char* p, size_t n) {
  uint64_t v = 0;
  while (n >= 8) {
    v = v * 100000000 + ReadEightDigits(p);
    p += 8;
    n -= 8;
  }
  while (n-- > 0) v = v * 10 + static_cast<uint64_t>(*p++ - '0');
  return v;
}

void WriteDigits(char* dst, uint64_t v, int count) {
  char* p = dst + count;
  while (v >= 100000000) {
    p -= 8;
    WriteEightDigits(p, static_cast<uint32_t>(v % 100000000));
    v /= 100000000;
  }
  WriteShortDigits(p, static_cast<uint32_t>(v));
}

}  // namespace mox
