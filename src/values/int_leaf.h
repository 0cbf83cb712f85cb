// Integer leaves: the decimal text that programs read, and beside it, for
// numbers of more than one limb, the same magnitude as base-10^18 limbs in
// the leaf's tail (core/cell.h), so that a chain of arithmetic on big numbers
// never parses text again. The text is always written in full when the leaf
// is made: every reader of the leaf's bytes, raw memory reads by address
// included, sees the exact number at all times. The limbs are trusted only
// while the write epoch they were stamped with is current (nothing can have
// rewritten the text since); otherwise the text is read, and the limbs are
// refilled from it.
//
// A leaf made from limbs writes its sign and its top limb's digits at once
// and defers the rest of its text (core/deferred_text.h): a chain of
// arithmetic then never writes digits that nothing reads. While it waits,
// the epoch cannot move, so its limbs are always trusted.
//
// Tail layout, in words: [0] the write epoch of the limbs, [1] their count,
// [2..] the limbs, least significant first; the tail has room for the limbs
// of every magnitude the text's length can hold.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/cell.h"
#include "values/dec_limbs.h"

namespace mox {

// An integer text taken apart: the sign and the digits of the magnitude
// (no leading zero, "0" for zero; zero is never negative), and the same
// magnitude as limbs when the leaf carries them.
struct IntText {
  bool negative;
  std::string_view magnitude;  // its size and leading digit are always right
  Limbs limbs = {};
  bool has_limbs = false;
  const Cell* deferred = nullptr;  // the leaf, when its text may be unwritten
};

// The digits of a, written first if its leaf deferred them.
std::string_view MagnitudeDigits(const IntText& a);

// Reads an integer text. Only its leading run of digits counts.
IntText ReadIntText(std::string_view text);

// Reads an integer text leaf, with its limbs when it carries them; a
// deferred text stays unwritten (see MagnitudeDigits).
IntText ReadIntegerLeaf(const Cell* c);

// New canonical integer leaves of a sign and a magnitude: below 2^64; as
// normalised limbs; as digits without leading zeros ("0" for zero), whose
// limbs may be given too.
CellRef SmallIntegerLeaf(bool negative, uint64_t magnitude);
CellRef LimbsLeaf(bool negative, Limbs magnitude);
CellRef DigitsLeaf(bool negative, std::string_view digits, const Limbs* limbs = nullptr);

// A leaf of several limbs whose limbs are computed straight into its tail
// (sums, differences and products by one limb, which would otherwise fill a
// working vector to be copied): StartLimbLeaf makes a block for the
// longest result the caller allows, the caller writes the limbs at
// `limbs`, and FinishLimbLeaf gives the leaf its text's length from the
// limbs found and defers the text as LimbsLeaf does. A result of one limb
// or less, or of less than half the room, moves to a leaf of its own size.
struct LimbLeafDraft {
  uint64_t* limbs;  // room for max_limbs limbs
  uint64_t* block;
  size_t bytes;
  size_t max_limbs;
  size_t max_text;
  bool negative;
};
LimbLeafDraft StartLimbLeaf(bool negative, size_t max_digits, size_t max_limbs);
CellRef FinishLimbLeaf(const LimbLeafDraft& draft, size_t count);

// Whether a text is a canonical integer: "0", or digits without a leading
// zero, optionally after one "0" sign.
bool IsCanonicalInteger(std::string_view text);

}  // namespace mox
