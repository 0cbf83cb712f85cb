// The workers of the five indexed families. Each serves all eight builtins
// of its family: the width (1, 2, 4 or 8 bytes) and, for the families that
// reach inside cells, the target (text content or blob payload) are
// parameters. A read answers the unsigned value of the width bytes; a write
// answers the changed cell itself (or "I" for memory); a null answer is "Z".
#pragma once

#include "builtins/indexed/access.h"

namespace mox {

// rec and rel: t of the target's kind and n an integer (negative counts
// from the end); the access lies wholly inside. A write takes an integer v,
// truncated to the width.
CellRef CheckedRead(Cell* t, Cell* n, Target target, int width);
CellRef CheckedWrite(Cell* t, Cell* n, Cell* v, Target target, int width);

// red and rem: index and value by magnitude modulo 2^64.
CellRef UncheckedRead(Cell* t, Cell* n, Target target, int width);
CellRef UncheckedWrite(Cell* t, Cell* n, Cell* v, Target target, int width);

// ref: process memory at the address p; p and v integers.
CellRef MemoryRead(Cell* p, int width);
CellRef MemoryWrite(Cell* p, Cell* v, int width);

}  // namespace mox
