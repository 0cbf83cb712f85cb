// Local names: the binder names of a definition and their replacement by
// single lower-case letters, the only variables the reducer knows.
#pragma once

#include <string_view>

#include "core/cell.h"
#include "program/globals.h"

namespace mox {

// The variables of the lambda and let nodes of a definition that are
// leaves, split into single lower-case letters and all other names.
struct PlaceLists {
  NameSet multi;   // names to be replaced by letters
  NameSet single;  // letters already in use
};
PlaceLists CollectPlaces(const Cell* tree);

// The tree with every leaf whose text is `name` replaced by the one-letter
// leaf `letter`, whatever its position or scope; the variable of a binder
// that is not renamed becomes the leaf of its DisplayName. Unchanged
// sub-graphs are shared.
CellRef RenameLocal(Cell* tree, std::string_view name, char letter);

}  // namespace mox
