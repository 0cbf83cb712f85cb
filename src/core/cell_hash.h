// Hash maps and sets keyed by cell address, flat: open addressing with
// linear probing in one array, no node per entry. The graph walks and
// folds remember every shared cell they meet in one, and once a program's
// definitions are shared (program/sharing.h) nearly every cell is.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "core/cell.h"

namespace mox {

template <class T>
class CellMap {
 public:
  // The value of c, or null.
  T* Find(const Cell* c) {
    if (used_ == 0) return nullptr;
    for (size_t i = Home(c);; i = (i + 1) & mask_) {
      if (slots_[i].key == c) return &slots_[i].value;
      if (slots_[i].key == nullptr) return nullptr;
    }
  }
  // Enters c with v unless c is there; false (and v unused) when it was.
  bool Insert(const Cell* c, T v) {
    if (2 * (used_ + 1) > slots_.size()) Grow();
    size_t i = Home(c);
    for (; slots_[i].key != nullptr; i = (i + 1) & mask_)
      if (slots_[i].key == c) return false;
    slots_[i].key = c;
    slots_[i].value = std::move(v);
    ++used_;
    return true;
  }
  bool empty() const { return used_ == 0; }

 private:
  struct Entry {
    const Cell* key = nullptr;
    T value{};
  };

  size_t Home(const Cell* c) const {
    uint64_t x = reinterpret_cast<uintptr_t>(c) * 0x9e3779b97f4a7c15ULL;
    return static_cast<size_t>(x >> 32) & mask_;
  }
  void Grow() {
    std::vector<Entry> old = std::move(slots_);
    slots_ = std::vector<Entry>(old.empty() ? 64 : 2 * old.size());
    mask_ = slots_.size() - 1;
    for (Entry& e : old) {
      if (e.key == nullptr) continue;
      size_t i = Home(e.key);
      while (slots_[i].key != nullptr) i = (i + 1) & mask_;
      slots_[i] = std::move(e);
    }
  }

  std::vector<Entry> slots_;
  size_t mask_ = 0;
  size_t used_ = 0;
};

// A set of cells: a map without values.
class CellSet {
 public:
  // Enters c; false when it was there.
  bool Insert(const Cell* c) { return map_.Insert(c, Nothing{}); }

 private:
  struct Nothing {};
  CellMap<Nothing> map_;
};

}  // namespace mox
