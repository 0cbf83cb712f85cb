// Local names: the binder names of a definition and their replacement by
// single lower-case letters, the only variables the reducer knows.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/cell.h"
#include "program/globals.h"

namespace mox {

// The variables of the lambda and let nodes of a definition that are
// leaves, split into single lower-case letters and all other names.
struct PlaceLists {
  NameSet multi;   // names to be replaced by letters
  NameSet single;  // letters already in use
  // Whether every binder variable is a leaf of lower-case letters and "_"
  // (so that a rename changes no other binder), and the single lower-case
  // letters met as leaves anywhere, bound or not.
  bool only_names = true;
  uint32_t letters = 0;
};
PlaceLists CollectPlaces(const Cell* tree);

// False when every place (binder variable) is a single letter: then there
// is nothing to rename and never too many places. A pass over many
// definitions asks this before it collects their places.
bool MayHaveNamedPlaces(const Cell* tree);

// The tree with every leaf whose text is `name` replaced by the one-letter
// leaf `letter`, whatever its position or scope; the variable of a binder
// that is not renamed becomes the leaf of its DisplayName. Unchanged
// sub-graphs are shared.
CellRef RenameLocal(Cell* tree, std::string_view name, char letter);

// Names of one definition and the letters they become, in the order of
// their renaming (the multi-letter place list's order).
struct Rename {
  std::string_view name;
  char letter;
};
using RenameList = std::vector<Rename>;

// The letters the multi-letter places get: each the first one that no
// single-letter place and no earlier rename uses. The views are of `lists`.
RenameList PlaceRenames(const PlaceLists& lists);

// The tree after RenameLocal with each pair in turn, in one rebuild where
// that gives the same tree: when no name is a text whose DisplayName differs
// from it (a one-byte operator name) or that such a DisplayName could be (a
// name starting with "["). A rename turns every binder variable it does not
// rename into its DisplayName, so with such names the order of the renames
// shows in the result, and they are made one by one.
CellRef RenameLocals(Cell* tree, const RenameList& renames);

}  // namespace mox
