// A direct-mapped cache from head leaf to its table entries. Each line holds
// a count on its leaf, so the address cannot be reused by another leaf while
// cached; entries of the GlobalTable stay put until an erase, which changes
// the table's epoch and so empties the cache.
#include "eval/head_cache.h"

#include <cstdint>

#include "defs/globals.h"

namespace mox {

namespace {

struct Line {
  Cell* leaf = nullptr;
  uint64_t epoch = 0;
  const BuiltinEntry* builtin = nullptr;
  CellRef* global = nullptr;
};

constexpr size_t kLines = 4096;
Line lines[kLines];

Line& Fill(Line& line, Cell* head) {
  Retain(head);
  Release(line.leaf);
  line.leaf = head;
  line.epoch = GlobalsEpoch();
  std::string_view key = LeafView(head);
  unsigned char b = head->Bytes()[0];
  line.builtin = (b >= 'a' && b <= 'z') ? FindBuiltin(key) : nullptr;
  auto it = Globals().find(key);
  line.global = it == Globals().end() ? nullptr : &it->second;
  return line;
}

Line& Lookup(Cell* head) {
  Line& line = lines[(reinterpret_cast<uintptr_t>(head) >> 4) & (kLines - 1)];
  if (line.leaf == head && line.epoch == GlobalsEpoch()) return line;
  return Fill(line, head);
}

}  // namespace

const BuiltinEntry* BuiltinFor(Cell* head) { return Lookup(head).builtin; }

CellRef* GlobalSlot(Cell* head) {
  Line& line = Lookup(head);
  // A name missing before may have been defined since (insertions keep the epoch).
  return line.global != nullptr ? line.global : Fill(line, head).global;
}

void ForgetHeads() {
  for (Line& line : lines) {
    Release(line.leaf);
    line = Line{};
  }
}

}  // namespace mox
