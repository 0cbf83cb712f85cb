// NumberBits: the one bit form shared by integers and `numb`s, an unbounded
// little-endian bit string held here as an unsigned GMP integer. Bit 0 is
// the class (1 integer, 0 `numb`), bit 1 the sign (1 for zero and positive
// values), the bits from 2 up the magnitude M (plain binary for integers,
// interleaved integer and fraction bits for `numb`s).
//
// The list forms J K t (an integer) and J H t (a `numb`) spell the same bit
// string from bit 0 up: each J cell gives one bit (K = 1, H = 0) and the
// tail t is either the leaf K (no more bits) or a number text or list form
// whose own bit form supplies the remaining bits.
#pragma once

#include <gmp.h>

#include <string_view>

#include "core/cell.h"

namespace mox {

// The bit form of an integer or `numb` text.
void NumberBitsOfText(std::string_view text, mpz_t bits);

// The canonical text of a bit form. A sign bit of 0 with M = 0 (a
// "negative zero") gives the zero of the class: "0" or "00".
CellRef NumberTextOfBits(const mpz_t bits);

// Whether c is a list-form number, J x t with x the leaf K or H.
bool IsNumberList(const Cell* c);

// The text leaf of a list-form number; null when the list is malformed (a
// flag other than K or H, or a tail that is not K, a number text or a list
// form).
CellRef NumberListText(const Cell* c);

// A number text taken apart as the head and tail of its list form: returns
// the flag (true for K: an integer) and sets *tail to the rest of the bits:
// the leaf K when none remain, the number text of the remaining bits, or,
// for the one remaining bit string that has no text (just the bit 1, a
// "negative zero" integer), the list (J K K) itself. Taking the tails apart
// again and again thus spells out every bit and ends.
bool SplitNumberText(std::string_view text, CellRef* tail);

}  // namespace mox
