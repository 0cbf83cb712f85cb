// A small number's value kept in its leaf's hidden word, so that arithmetic
// and comparisons on numbers they made themselves never read digits back.
//
// The value form of the hidden word (kValueBit set):
//   bits  0..4   the text's length (as StoredLength gives it)
//   bits  5..44  the value, two's complement
//   bits 45..60  the stamp: the write epoch the value was made or read in
// The text stays the number as programs read it; the value is trusted only
// while the epoch it was stamped in is current, as any program write to a
// leaf's bytes moves the epoch on (core/write_epoch.h). Stamps are 16 bits:
// from the 65,535th epoch on (a program that wrote memory that many times)
// nothing is trusted and every number is read from its text again.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/cell.h"

namespace mox {

constexpr int kValueShift = 5;
constexpr int kValueBits = 40;
constexpr int kStampShift = kValueShift + kValueBits;
constexpr uint64_t kStampLimit = 0xFFFF;
constexpr uint64_t kStampMask = kStampLimit << kStampShift;
constexpr uint64_t kValueFieldMask = ((uint64_t{1} << kValueBits) - 1) << kValueShift;
constexpr int64_t kValueWordMax = (int64_t{1} << (kValueBits - 1)) - 1;
static_assert(kValueLengthMask == (uint64_t{1} << kValueShift) - 1);
static_assert((kStampMask << 1 & kValueBit) != 0 && (kValueBit << 1) == kDeferredBit);

// The flag and stamp bits of a value made now, and those a trusted value
// has. They differ only once the stamps have run out: values are then made
// with the last stamp and trusted with none.
struct ValueStamps {
  uint64_t made;
  uint64_t trusted;
};
extern ValueStamps g_value_stamps;

constexpr ValueStamps StampsOf(uint64_t epoch) {
  if (epoch >= kStampLimit) return {kValueBit | kStampMask, kValueBit};
  const uint64_t stamp = kValueBit | (epoch << kStampShift);
  return {stamp, stamp};
}
inline void StampValuesIn(uint64_t epoch) { g_value_stamps = StampsOf(epoch); }

inline bool FitsValueWord(int64_t v) { return v >= -kValueWordMax && v <= kValueWordMax; }

// The hidden word of a leaf of n <= kValueLengthMask text bytes holding v
// (FitsValueWord(v)).
inline uint64_t ValueWord(size_t n, int64_t v) {
  return n | g_value_stamps.made | ((static_cast<uint64_t>(v) << kValueShift) & kValueFieldMask);
}

// The value a leaf keeps, when it is trusted.
inline bool TrustedValue(const Cell* c, int64_t* v) {
  uint64_t w = c->Hidden();
  if ((w & (kValueBit | kStampMask)) != g_value_stamps.trusted) return false;
  *v = static_cast<int64_t>(w << (64 - kStampShift)) >> (64 - kValueBits);
  return true;
}

// Keeps v, just read from a leaf's text, in its hidden word, when the leaf
// has room for it (no tail, a short text) and the stamps have not run out.
inline void KeepValue(const Cell* c, int64_t v) {
  if (g_value_stamps.made != g_value_stamps.trusted) return;
  uint64_t w = c->Hidden();
  if ((w & (kTailBit | kDeferredBit)) != 0 || !FitsValueWord(v)) return;
  uint64_t n = c->StoredLength();
  if (n <= kValueLengthMask) const_cast<Cell*>(c)->Hidden() = ValueWord(n, v);
}

}  // namespace mox
