// Substitution: a body with the free occurrences of some variables replaced
// by values. The values are closed, so no renaming is ever needed; subtrees
// without those variables are shared, not copied.
#pragma once

#include <cstdint>

#include "core/cell.h"

namespace mox {

// body with every free occurrence of the variable that the binder variable
// `variable` binds replaced by value (body itself when it binds no letter).
CellRef Substitute(Cell* body, const Cell* variable, Cell* value);

// The same for several letters at once: the letters of `mask` (bit i for
// 'a' + i) are replaced by values[i] in one pass over the body.
CellRef SubstituteMany(Cell* body, uint32_t mask, Cell* const values[26]);

// body with its parameters put in: the letters[0..k) (mask, as a set)
// replaced by args[0..k), a later parameter of the same letter winning.
CellRef SubstituteParameters(Cell* body, const unsigned char* letters, int k, uint32_t mask, Cell* const* args);

// The same with an explicit stack for bodies of any depth (SubstituteMany
// switches to it below a fixed depth).
CellRef SubstituteDeep(Cell* body, uint32_t mask, Cell* const values[26]);

}  // namespace mox
