// The process-wide name tables: the GlobalTable (name -> definition; the
// main expression under the empty name) and EmptyCallDefinitions (names
// defined as `name()`, evaluated afresh at each use).
#pragma once

#include <map>
#include <set>

#include "core/cell.h"
#include "core/text.h"

namespace mox {

using GlobalTable = std::map<Text, CellRef, TextOrder>;
using NameSet = std::set<Text, TextOrder>;

GlobalTable& Globals();
NameSet& EmptyCallDefinitions();

}  // namespace mox
