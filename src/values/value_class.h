// Value classes: how the numeric and text builtins sort an operand, by its
// shape and first byte, into one of seven classes, named by `type` as
// "[post]", "[cray]", "[void]", "[hint]", "[numb]", "[real]" and "[zits]".
#pragma once

#include <cstdint>
#include <string_view>

#include "core/cell.h"

namespace mox {

// In the order the comparisons give classes (a blob is below a vector, ...).
enum class ValueClass : uint8_t {
  kBlob,     // "(" length ")" bytes
  kVector,   // the vector leaf
  kVoid,     // anything else
  kInteger,  // decimal text, or the list form J K y
  kNumb,     // exact binary number: text "00...", or the list form J H y
  kReal,     // raw leaf of a double
  kText,     // bracketed text, or other data
};

// The class of a value. Checks, first match wins: raw leaf real, blob,
// vector, data text, J H y numb, J K y integer, other applications void,
// number leaves numb (text "00...") or integer, other leaves void.
ValueClass ClassifyValue(Cell* c);

// An integer in text form: its leaf, whose text (which a big result may not
// have written yet) need not be read to take it apart (int_leaf.h).
// Inline, as every arithmetic on two big numbers asks it twice: a digit
// first, and not "00" (a numb).
inline bool IsIntegerLeaf(const Cell* c) {
  if (!c->IsLeaf()) return false;
  const unsigned char* p = c->Bytes();
  return IsDigit(p[0]) && !(p[0] == '0' && p[1] == '0');
}

// The name the `type` builtin gives a class, e.g. "[hint]".
const char* ClassName(ValueClass cls);

// A data value: a bracketed text leaf or an application of data to data
// (the analysis marks it; leaves are recognised by their "[").
bool IsDataValue(Cell* c);

// The double of a raw leaf.
double RealValue(const Cell* c);

// The text of an integer or numb in text form: the leaf's own
// text, or for a list-form number the text it converts to, held in *hold.
// False for a malformed list form.
bool NumberTextOf(Cell* c, CellRef* hold, std::string_view* text);

}  // namespace mox
