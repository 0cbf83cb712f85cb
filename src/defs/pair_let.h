// Pair lets: `p q{y}z` binds p and q to the two components of the pair y.
#pragma once

#include "core/cell.h"

namespace mox {

// The tree with every let node ((({ (p q)) y) z), whose variable applies
// one leaf holding a definable name to another, replaced (bottom-up) by the
// three lets  q{y} p{(q' K)} q{(q' H)} z,  q' a leaf holding the key of q:
// q first holds the pair, then p takes its first and q its second component.
CellRef RewritePairLets(Cell* tree);

}  // namespace mox
