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

// Entries must be erased through these, never directly: the reducer keeps
// pointers to table entries and drops them when the epoch changes.
void EraseGlobal(std::string_view key);
void ClearGlobalTable();
// The entry of a one-byte name (an operator or a combinator letter), found
// without a search after the first time; null when there is none.
CellRef* OneByteGlobal(unsigned char b);

extern uint64_t g_globals_epoch;
inline uint64_t GlobalsEpoch() { return g_globals_epoch; }

}  // namespace mox
