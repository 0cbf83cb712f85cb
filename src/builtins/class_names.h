// The class-name leaves that `type` answers with ("[hint]", "[zits]", ...).
// Equal names are the same cell for the whole run, so programs can compare
// them by identity; the cells are released at the end of the run.
#pragma once

#include "core/cell.h"

namespace mox {

// The shared leaf naming class letter cls (value_class.h).
CellRef ClassNameLeaf(char cls);

// Releases the shared leaves (end of run, leak checks).
void ReleaseClassNames();

}  // namespace mox
