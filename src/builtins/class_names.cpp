// One leaf per class name, made on first use.
#include "builtins/class_names.h"

#include "builtins/value_class.h"

namespace mox {

namespace {

constexpr char kClasses[] = "aceioru";
Cell* g_names[sizeof kClasses - 1];

size_t Slot(char cls) {
  for (size_t i = 0; i + 1 < sizeof kClasses; ++i)
    if (kClasses[i] == cls) return i;
  return 2;  // every other letter names the void class
}

}  // namespace

CellRef ClassNameLeaf(char cls) {
  Cell*& slot = g_names[Slot(cls)];
  if (slot == nullptr) slot = MakeLeaf(ClassName(cls)).Leak();
  return CellRef::Share(slot);
}

void ReleaseClassNames() {
  for (Cell*& slot : g_names) {
    Release(slot);
    slot = nullptr;
  }
}

}  // namespace mox
