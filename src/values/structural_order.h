// The structural order: a total order on cells that looks only at their
// stored form, never at what they mean. `cmpr` answers with it, and the
// value comparisons fall back on it for two values of the void class.
//   - the same cell is equal to itself;
//   - a leaf is below every application;
//   - two leaves compare their stored bytes as unsigned bytes, a proper
//     prefix below the longer (a vector's bytes are its marker byte and its
//     child references, so two distinct vectors order by those references);
//   - two applications compare their function parts, then their arguments.
#pragma once

#include "core/cell.h"

namespace mox {

// -1 when a is below b, 0 when equal, 1 when above. Iterative: any depth.
int StructuralOrder(const Cell* a, const Cell* b);

}  // namespace mox
