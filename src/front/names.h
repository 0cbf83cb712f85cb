// Names and places: which names a program may define, the GlobalTable key
// of a defined name, and the five-character place code of a text offset.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/text.h"

namespace mox {

// Offset 0 <= n <= 2^30 as five digits of the digit alphabet, most
// significant first; 2^30 itself is "!!!!!".
Text PlaceCode(int64_t offset);

// True for a run of lower-case letters and "_", for one upper-case letter,
// control byte (1..31) or byte of 127 and more, and for "[c]" with c an
// operator-name character.
bool IsDefinableName(std::string_view name);

// The GlobalTable key of a definable name: "[c]" is stored under "c", every
// other name under itself.
Text GlobalKey(std::string_view name);

}  // namespace mox
