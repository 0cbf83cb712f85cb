// The order of values that the comparison builtins share. Values of
// different classes order by class letter (blob < vector < void < integer <
// numb < real < bracketed text); within a class:
//   blob: payload bytes, unsigned, a proper prefix below the longer;
//   vector: lexicographic over the children, a proper prefix below;
//   void: the structural order;
//   integer, numb: numeric order (list forms read as their texts);
//   real: IEEE order, where a NaN is unordered with everything;
//   bracketed text: the contents as blob payloads.
// The same cell is equal to itself, except that a real at the top is always
// compared by value (a NaN is not below, above or equal to itself).
//
// This system's own choices: an empty vector slot is below every value and
// equal to another empty slot; a list-form number whose bits do not make a
// number counts as void.
#pragma once

#include "core/cell.h"

namespace mox {

enum class Order { kBelow, kEqual, kAbove, kUnordered };

// Walks nested vectors with an explicit stack: any depth.
Order ValueOrder(Cell* a, Cell* b);

}  // namespace mox
