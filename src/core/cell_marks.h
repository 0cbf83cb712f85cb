// A set of cells by address, held as bits: one bit for each 8-byte word of
// the address space that holds cells, in bitmaps of 16 KiB for each 1 MiB
// window that any marked cell lies in. For sets of millions of cells (the
// sharing table's passes mark most of a big program) a mark is a bit in a
// few megabytes, where a hash set would cost a node, a probe and a cache
// miss per cell.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "core/cell.h"

namespace mox {

class CellMarks {
 public:
  bool Has(const Cell* c) const {
    const uint64_t* bits = Window(reinterpret_cast<uintptr_t>(c) >> kWindowShift, false);
    if (bits == nullptr) return false;
    const size_t bit = BitOf(c);
    return (bits[bit / 64] >> (bit % 64)) & 1;
  }
  // Marks c; false when it was marked already.
  bool Mark(const Cell* c) {
    MOX_ASSERT((reinterpret_cast<uintptr_t>(c) & 7) == 0);
    uint64_t* bits = Window(reinterpret_cast<uintptr_t>(c) >> kWindowShift, true);
    const size_t bit = BitOf(c);
    const uint64_t mask = uint64_t{1} << (bit % 64);
    if (bits[bit / 64] & mask) return false;
    bits[bit / 64] |= mask;
    return true;
  }
  // Calls visit(Cell*) for every marked cell, in the order of their
  // addresses: a pass over millions of cells that a table lists in no order
  // then reads memory in order instead of missing the cache at every cell.
  // visit must not mark this set.
  template <class Visit>
  void ForEach(Visit&& visit) const;

 private:
  static constexpr int kWindowShift = 20;
  static constexpr size_t kWordsPerWindow = (size_t{1} << kWindowShift) / 8 / 64;
  using Bitmap = std::unique_ptr<uint64_t[]>;

  // The bit of c's word in its window.
  static size_t BitOf(const Cell* c) {
    return (reinterpret_cast<uintptr_t>(c) & ((uintptr_t{1} << kWindowShift) - 1)) >> 3;
  }
  // The bitmap of a window (made when `make`), or null. Passes over big
  // tables ask millions of times, nearly always about a recent window.
  uint64_t* Window(uintptr_t window, bool make) const {
    const Recent& recent = recent_[window % kRecent];
    if (recent.window == window && (recent.bits != nullptr || !make)) return recent.bits;
    return FindWindow(window, make);
  }
  uint64_t* FindWindow(uintptr_t window, bool make) const;

  mutable std::unordered_map<uintptr_t, Bitmap> windows_;
  // The windows met lately, by their low bits: a pass over the sharing table
  // asks about cells in no order, from the few dozen windows that a big
  // program's cells fill, and a map lookup for each would cost more than
  // the mark.
  static constexpr size_t kRecent = 64;
  struct Recent {
    uintptr_t window = UINTPTR_MAX;
    uint64_t* bits = nullptr;
  };
  mutable Recent recent_[kRecent];
};

template <class Visit>
void CellMarks::ForEach(Visit&& visit) const {
  std::vector<uintptr_t> order;
  order.reserve(windows_.size());
  for (const auto& [window, bits] : windows_) order.push_back(window);
  std::sort(order.begin(), order.end());
  for (uintptr_t window : order) {
    const uint64_t* bits = windows_.find(window)->second.get();
    const uintptr_t base = window << kWindowShift;
    for (size_t i = 0; i < kWordsPerWindow; ++i) {
      for (uint64_t word = bits[i]; word != 0; word &= word - 1) {
        const size_t bit = i * 64 + static_cast<size_t>(__builtin_ctzll(word));
        visit(reinterpret_cast<Cell*>(base + bit * 8));
      }
    }
  }
}

}  // namespace mox
