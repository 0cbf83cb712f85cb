// Funky keys: a lambda whose variable is not a definable name, as in
// `(a+b)\x`. Such a lambda could never bind anything.
#pragma once

#include "core/cell.h"

namespace mox {

// The variable of the first lambda node, in pre-order (function part before
// argument part), whose variable is not a leaf holding a definable name; a
// null reference when there is none. The search does not look inside the
// variables of lambda nodes, only into their bodies.
CellRef FindFunkyKey(Cell* tree);

}  // namespace mox
