// Sets of cells by address; see cell_marks.h.
#include "core/cell_marks.h"

namespace mox {

uint64_t* CellMarks::Window(uintptr_t window, bool make) const {
  Recent& recent = recent_[window % kRecent];
  if (recent.window == window) return recent.bits;
  auto it = windows_.find(window);
  uint64_t* bits = nullptr;
  if (it != windows_.end()) {
    bits = it->second.get();
  } else if (make) {
    bits = (windows_[window] = Bitmap(new uint64_t[kWordsPerWindow]())).get();
  } else {
    return nullptr;  // not remembered: a later Mark may still make it
  }
  recent = {window, bits};
  return bits;
}

bool CellMarks::Has(const Cell* c) const {
  const auto address = reinterpret_cast<uintptr_t>(c);
  const uint64_t* bits = Window(address >> kWindowShift, false);
  if (bits == nullptr) return false;
  const size_t bit = (address & ((uintptr_t{1} << kWindowShift) - 1)) >> 3;
  return (bits[bit / 64] >> (bit % 64)) & 1;
}

bool CellMarks::Mark(const Cell* c) {
  const auto address = reinterpret_cast<uintptr_t>(c);
  MOX_ASSERT((address & 7) == 0);
  uint64_t* bits = Window(address >> kWindowShift, true);
  const size_t bit = (address & ((uintptr_t{1} << kWindowShift) - 1)) >> 3;
  const uint64_t mask = uint64_t{1} << (bit % 64);
  if (bits[bit / 64] & mask) return false;
  bits[bit / 64] |= mask;
  return true;
}

}  // namespace mox
