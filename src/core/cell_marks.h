// A set of cells by address, held as bits: one bit for each 8-byte word of
// the address space that holds cells, in bitmaps of 16 KiB for each 1 MiB
// window that any marked cell lies in. For sets of millions of cells (the
// sharing table's passes mark most of a big program) a mark is a bit in a
// few megabytes, where a hash set would cost a node, a probe and a cache
// miss per cell.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "core/cell.h"

namespace mox {

class CellMarks {
 public:
  bool Has(const Cell* c) const;
  // Marks c; false when it was marked already.
  bool Mark(const Cell* c);

 private:
  static constexpr int kWindowShift = 20;
  static constexpr size_t kWordsPerWindow = (size_t{1} << kWindowShift) / 8 / 64;
  using Bitmap = std::unique_ptr<uint64_t[]>;

  uint64_t* Window(uintptr_t window, bool make) const;

  mutable std::unordered_map<uintptr_t, Bitmap> windows_;
  // The window met last: marks come in runs close together.
  mutable uintptr_t last_window_ = UINTPTR_MAX;
  mutable uint64_t* last_bits_ = nullptr;
};

}  // namespace mox
