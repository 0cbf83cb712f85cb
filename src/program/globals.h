// Definition tables by name. The GlobalTable of the run maps every defined
// name to its definition, the main expression under the empty name; the
// run-time loaders fill tables of their own before merging them into it.
// EmptyCallDefinitions holds the names defined as `name()`, evaluated afresh
// at each use.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string_view>

#include "core/cell.h"
#include "core/text.h"

namespace mox {

// Keys in byte order (TextOrder). Entries stay where they are until erased,
// so other parts of the interpreter may keep pointers to entries (the
// reducer's head cache does); every erase moves the epoch, which tells them
// to look again. A value may be replaced in place at any time.
class GlobalTable {
 public:
  using Map = std::map<Text, CellRef, TextOrder>;

  GlobalTable() = default;
  GlobalTable(const GlobalTable&) = delete;
  GlobalTable& operator=(const GlobalTable&) = delete;

  CellRef* Find(std::string_view key);
  const CellRef* Find(std::string_view key) const;
  bool Contains(std::string_view key) const { return map_.count(key) != 0; }
  // The entry of a one-byte name (an operator or a combinator letter),
  // found without a search after the first time; null when there is none.
  CellRef* FindByte(unsigned char b);

  // Defines or redefines key; returns the entry.
  CellRef& Set(const Text& key, CellRef value);
  void Erase(std::string_view key);
  void Clear();
  // Copies every entry of `from` into this empty table (sharing the cells).
  void CopyFrom(const GlobalTable& from);

  // Moved by every erase in any table: one counter for all of them, which
  // the reducer reads at every step without finding the run's table.
  static uint64_t Epoch() { return epoch_; }
  size_t size() const { return map_.size(); }
  bool empty() const { return map_.empty(); }
  // Iteration in key order; values may be replaced, keys not.
  Map::iterator begin() { return map_.begin(); }
  Map::iterator end() { return map_.end(); }
  Map::const_iterator begin() const { return map_.begin(); }
  Map::const_iterator end() const { return map_.end(); }

 private:
  struct ByteEntry {
    uint64_t epoch = 0;
    CellRef* entry = nullptr;
  };
  Map map_;
  static inline uint64_t epoch_ = 1;
  std::array<ByteEntry, 256> bytes_{};
};

using NameSet = std::set<Text, TextOrder>;

// The run's tables; both are emptied at the end of every run. They are made
// on first use and never destroyed, so they outlive every static table that
// may still hold cells. Inline: the reducer asks for them at every step.
inline GlobalTable& Globals() {
  static auto& table = *new GlobalTable;
  return table;
}
inline NameSet& EmptyCallDefinitions() {
  static auto& names = *new NameSet;
  return names;
}

}  // namespace mox
