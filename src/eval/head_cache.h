// What a head leaf names: a builtin, a global definition, or nothing. The
// answers are cached by leaf cell (shared name leaves are the same cell), so
// contraction finds them without searching the name tables.
#pragma once

#include "core/cell.h"
#include "defs/builtin_table.h"

namespace mox {

// The builtin a lower-case head names, or null.
const BuiltinEntry* BuiltinFor(Cell* head);
// The GlobalTable entry of a head's text, or null when it has none.
CellRef* GlobalSlot(Cell* head);
// Drops every cached head (and the counts held on them).
void ForgetHeads();

}  // namespace mox
