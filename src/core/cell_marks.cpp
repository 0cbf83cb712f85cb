// Sets of cells by address; see cell_marks.h.
#include "core/cell_marks.h"

namespace mox {

uint64_t* CellMarks::FindWindow(uintptr_t window, bool make) const {
  auto it = windows_.find(window);
  uint64_t* bits = nullptr;
  if (it != windows_.end()) {
    bits = it->second.get();
  } else if (make) {
    bits = (windows_[window] = Bitmap(new uint64_t[kWordsPerWindow]())).get();
  }
  // A window without marks is remembered too: a set of few marks is mostly
  // asked about cells outside them.
  recent_[window % kRecent] = {window, bits};
  return bits;
}

}  // namespace mox
