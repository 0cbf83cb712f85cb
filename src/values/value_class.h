// Value classes: how the numeric and text builtins sort an operand, by its
// shape and first byte, into one of seven classes:
//   'a' blob ("[post]"), 'c' vector ("[cray]"), 'e' void ("[void]"),
//   'i' integer ("[hint]"), 'o' exact binary number ("[numb]"),
//   'r' real ("[real]"), 'u' bracketed text or other data ("[zits]").
// The letters order the classes in comparisons; they are never printed.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/cell.h"

namespace mox {

// The class of a value. Checks, first match wins: raw leaf 'r', blob 'a',
// vector 'c', data 'u', J H y 'o', J K y 'i', other applications 'e',
// number leaves 'o' (text "00...") or 'i', other leaves 'e'.
char ClassifyValue(Cell* c);

// The name the `type` builtin gives a class letter, e.g. "[hint]".
const char* ClassName(char cls);

// A data value: a bracketed text leaf or an application of data to data
// (the analysis marks it; leaves are recognised by their "[").
bool IsDataValue(Cell* c);

// The double of a raw leaf.
double RealValue(const Cell* c);

// The text of a number of class 'i' or 'o' in text form: the leaf's own
// text, or for a list-form number the text it converts to, held in *hold.
// False for a malformed list form.
bool NumberTextOf(Cell* c, CellRef* hold, std::string_view* text);

}  // namespace mox
