#include "defs/globals.h"

namespace mox {

GlobalTable& Globals() {
  static GlobalTable table;
  return table;
}

NameSet& EmptyCallDefinitions() {
  static NameSet names;
  return names;
}

}  // namespace mox
