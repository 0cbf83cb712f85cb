// The 64-symbol digit alphabet. It writes place codes and the base-64 length
// prefixes of blobs. Note the order: u before s and t, z before x and y.
#pragma once

#include <cstdint>

#include "core/assert.h"

namespace mox {

inline constexpr char kDigitAlphabet[] =
    "_abcdefghijklmnopqrustvwzxy0123456789ABCDEFGHIJKLMNOPQRUSTVWZXY~";

// Value 0..63 of a digit symbol; any other byte is an internal error.
inline int DigitValue(unsigned char c) {
  for (int i = 0; i < 64; ++i)
    if (static_cast<unsigned char>(kDigitAlphabet[i]) == c) return i;
  MOX_FAIL();
}

}  // namespace mox
