// Definition tables by name. The GlobalTable of the run maps every defined
// name to its definition, the main expression under the empty name; the
// run-time loaders fill tables of their own before merging them into it.
// EmptyCallDefinitions holds the names defined as `name()`, evaluated afresh
// at each use.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <set>
#include <string_view>
#include <vector>

#include "core/cell.h"
#include "core/text.h"

namespace mox {

// An entry of a table: a name and its definition. The key is never
// changed while the entry is in the table.
struct GlobalEntry {
  Text first;
  CellRef second;
};

// Keys in byte order (TextOrder). Entries stay where they are until erased,
// so other parts of the interpreter may keep pointers to entries (the
// reducer's head cache does); every erase moves the epoch, which tells them
// to look again. A value may be replaced in place at any time.
//
// A big program has a hundred thousand definitions: the entries are
// 16-byte records that never move (a deque), found by a hash index and
// put in key order, when iterated, by a sorted list of their numbers.
// A tree map spent 64 bytes a node. Iteration visits the keys as they were
// when it began; the passes that evaluate while they walk a table, and
// may so define names, walk a copy of its keys.
class GlobalTable {
 public:
  template <class Table, class Entry>
  class IteratorOf {
   public:
    IteratorOf(Table* table, size_t at) : table_(table), at_(at) {}
    Entry& operator*() const { return table_->entries_[table_->order_[at_]]; }
    Entry* operator->() const { return &**this; }
    IteratorOf& operator++() {
      ++at_;
      return *this;
    }
    bool operator==(const IteratorOf& o) const { return at_ == o.at_; }
    bool operator!=(const IteratorOf& o) const { return at_ != o.at_; }

   private:
    Table* table_;
    size_t at_;
  };
  using iterator = IteratorOf<GlobalTable, GlobalEntry>;
  using const_iterator = IteratorOf<const GlobalTable, const GlobalEntry>;

  GlobalTable() = default;
  GlobalTable(const GlobalTable&) = delete;
  GlobalTable& operator=(const GlobalTable&) = delete;

  CellRef* Find(std::string_view key);
  const CellRef* Find(std::string_view key) const;
  bool Contains(std::string_view key) const { return Find(key) != nullptr; }
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
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  // Iteration in key order; values may be replaced, keys not.
  iterator begin() {
    Order();
    return {this, 0};
  }
  iterator end() { return {this, order_.size()}; }
  const_iterator begin() const {
    Order();
    return {this, 0};
  }
  const_iterator end() const { return {this, order_.size()}; }

 private:
  struct ByteEntry {
    uint64_t epoch = 0;
    CellRef* entry = nullptr;
  };
  static constexpr uint32_t kFree = 0;
  // The index slot holding key's entry, or the free slot where it belongs.
  size_t SlotOf(std::string_view key) const;
  void GrowIndex();
  // Puts order_ in key order, leaving out erased entries.
  void Order() const;

  std::deque<GlobalEntry> entries_;  // erased ones stay, empty, until Clear
  std::vector<uint8_t> in_table_;    // by entry: not erased
  // Open addressing over the entries: number + 1, kFree for none.
  std::vector<uint32_t> index_;
  // The entries' numbers: in key order once sorted_, erased ones left out
  // once !has_erased_.
  mutable std::vector<uint32_t> order_;
  mutable bool sorted_ = true;
  mutable bool has_erased_ = false;
  size_t size_ = 0;
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
