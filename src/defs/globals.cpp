#include "defs/globals.h"

namespace mox {

GlobalTable& Globals() {
  static GlobalTable table;
  return table;
}

uint64_t g_globals_epoch = 0;

void EraseGlobal(std::string_view key) {
  auto it = Globals().find(key);
  if (it == Globals().end()) return;
  ++g_globals_epoch;
  Globals().erase(it);
}

void ClearGlobalTable() {
  ++g_globals_epoch;
  Globals().clear();
}


NameSet& EmptyCallDefinitions() {
  static NameSet names;
  return names;
}

}  // namespace mox
