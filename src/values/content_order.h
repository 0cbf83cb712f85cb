// Orders the contents of two data values (bracketed texts and data
// applications) bytewise as unsigned bytes, a proper prefix below the longer,
// without writing either out: a data application d e reads as the content
// of d followed by "[" + the content of e + "]", and both contents are
// streamed piece by piece from an explicit stack.
#pragma once

#include "core/cell.h"

namespace mox {

// -1, 0 or 1. Both must be data values.
int CompareContents(Cell* a, Cell* b);

}  // namespace mox
