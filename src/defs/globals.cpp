// The process-wide name tables and their change epoch.
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


CellRef* OneByteGlobal(unsigned char b) {
  static struct {
    uint64_t epoch;
    CellRef* slot;
  } known[256];
  auto& k = known[b];
  // A cached entry stays valid until an erase changes the epoch; a missing
  // one is looked for again, since the name may have been defined since.
  if (k.slot != nullptr && k.epoch == g_globals_epoch) return k.slot;
  auto it = Globals().find(std::string_view(reinterpret_cast<const char*>(&b), 1));
  k.slot = it == Globals().end() ? nullptr : &it->second;
  k.epoch = g_globals_epoch;
  return k.slot;
}

NameSet& EmptyCallDefinitions() {
  static NameSet names;
  return names;
}

}  // namespace mox
