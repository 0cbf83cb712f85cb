// What a head leaf names: a builtin, a global definition, or nothing. The
// answers are cached by leaf cell (shared name leaves are the same cell), so
// contraction finds them without searching the name tables. For a global the
// cache also keeps its definition taken apart: the parameter letters and the
// body under the leading lambdas.
#pragma once

#include "core/cell.h"
#include "eval/template.h"
#include "program/builtin_table.h"

namespace mox {

struct GlobalShape {
  CellRef* slot;      // the GlobalTable entry
  int k;              // leading lambda layers
  Cell* body;         // under them (borrowed from the definition)
  uint32_t mask;      // the parameter letters as a set
  unsigned char letters[kMaxParameters];
  Template instance;  // the body compiled for these parameters, when small
};

// The builtin a lower-case head names, or null.
const BuiltinEntry* BuiltinFor(Cell* head);
// The global a head names, with its current definition taken apart; null
// when the GlobalTable has no entry for the head's text.
const GlobalShape* GlobalFor(Cell* head);

}  // namespace mox
