// The text form of exact binary numbers (`numb`): "00", then for a
// positive value the decimal digits of its interleaved magnitude bits M;
// for a negative value as many further "0"s as the position of the lowest
// set bit of M plus one, then the decimal digits of M above that bit.
// Zero is "00": -1 is "000", 1 is "001", 0.5 is "002", 2 is "004".
#pragma once

#include <gmp.h>

#include <string_view>

#include "core/cell.h"

namespace mox {

// Reads a `numb` text (it begins "00"; only its leading run of digits
// counts) into its magnitude bits M and sign.
void ReadNumbText(std::string_view text, mpz_t m, bool* negative);

// The `numb` leaf of magnitude bits M and a sign (zero is never negative).
CellRef NumbTextLeaf(const mpz_t m, bool negative);

}  // namespace mox
