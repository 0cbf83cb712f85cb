// What the indexed builtins share: the bytes they reach inside a cell (a
// bracketed text's content or a blob's payload), fixed-width loads and
// stores, and their integer arguments read the checked or the unchecked way.
#pragma once

#include <cstdint>

#include "core/cell.h"
#include "values/operand.h"  // IntegerArgument

namespace mox {

// Where a family reads and writes inside its argument cell.
enum class Target : uint8_t {
  kText,  // the content of a bracketed text leaf, after the opening "["
  kBlob,  // the payload of a blob leaf, after the ")"
};

struct Span {
  unsigned char* data;
  uint64_t size;
};

// The content or payload of c; false when c is not a leaf of the target's
// kind (a text built of data applications has no bytes of its own).
bool TargetBytes(Cell* c, Target target, Span* out);

// Whether the width bytes from index i lie wholly inside n bytes.
inline bool Inside(uint64_t i, int width, uint64_t n) {
  uint64_t w = static_cast<uint64_t>(width);
  return w <= n && i <= n - w;
}

// width bytes at p as an unsigned number, and back (the low width bytes of
// v), in the host's byte order (least significant first), unaligned.
uint64_t LoadBytes(const unsigned char* p, int width);
void StoreBytes(unsigned char* p, int width, uint64_t v);

// An argument of the unchecked families: the magnitude of the integer
// modulo 2^64, its sign ignored ("05" counts as 5). It is not checked to be
// an integer: a value that is none reads as the digits its text starts with
// (0 when there are none).
uint64_t MagnitudeArgument(const Cell* c);

}  // namespace mox
