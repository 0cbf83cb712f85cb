// Data values applied as functions: the contraction rules for a vector, a
// number, a bracketed text or other data, a blob or a raw leaf at the head
// of a saturated redex with one argument. Inputs are borrowed; each
// function returns the new cell that replaces the redex ("Z" for any input
// its rule does not accept). K, H, I, J, V, X, G and Z are the one-letter
// combinator leaves.
#pragma once

#include "core/cell.h"

namespace mox {

// vec applied to arg: Z gives the list of the children (J e0 (J e1 .. K)),
// empty slots as Z; an integer i indexes a non-empty vector (negative from
// the end) giving K for a filled slot and H for an empty one; the empty
// vector applied to n in 0..2^26-1 makes a vector of n empty slots.
CellRef ApplyVector(Cell* vec, Cell* arg);

// A number leaf applied to anything: the pair (V flag tail) of its list
// form, flag K for an integer and H for a `numb`, tail the number text of
// the remaining bits, K when none remain (see SplitNumberText).
CellRef ApplyNumber(Cell* num);

// A data value (bracketed text leaf or data application) applied to arg:
// "[]" gives (arg (X J) K); the leaf G gives (V H (V first rest)); any other
// arg gives (arg (X J) L) with L the list form of the data.
CellRef ApplyDataValue(Cell* data, Cell* arg);

// A blob applied to anything: "Z" when empty; one byte gives its bits as a
// tree of pairs and J cells (I for 1, H for 0); longer blobs the pair of
// the first and the last k bytes, k the largest power of two below the
// length.
CellRef ApplyBlob(Cell* blob);

// A raw leaf applied to arg: (W arg), W the tree of pairs over the 64 bits
// of its word, K for a 1 bit and H for a 0 bit, lower half first.
CellRef ApplyRaw(Cell* raw, Cell* arg);

}  // namespace mox
