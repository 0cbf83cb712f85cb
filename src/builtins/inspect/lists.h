// The J-lists of the inspection builtins: (J e0 (J e1 .. (J e(n-1) K))),
// built by `lots` and read back by `real` and `init`. Both directions are
// loops, so lists of any length are fine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "builtins/inspect/support.h"
#include "core/cell.h"
#include "core/interrupt.h"
#include "core/memory.h"

namespace mox {

// The list of n elements, element(i) giving element i; built from the end,
// with one shared J leaf. Null (the caller answers "Z") when two
// applications per element would not fit in memory (core/memory.h), or when
// an interrupt comes while it is being built.
template <typename Element>
CellRef BuildList(size_t n, Element element) {
  if (n > SIZE_MAX / 48 || !MemoryRequestFits(48 * n, "a list")) return CellRef();  // 24 bytes an application
  CellRef j = MakeLetter('J');
  CellRef list = MakeLetter('K');
  for (size_t i = n; i-- > 0;) {
    if ((i & 0xFFFF) == 0 && InterruptNoted()) return CellRef();
    list = MakeApp(MakeApp(j.Copy(), element(i)), std::move(list));
  }
  return list;
}

// A list of exactly 64 truth values (bit 0 first) into a bit pattern;
// false for any other shape.
bool ReadBitList(Cell* list, uint64_t* bits);

// A list of byte values (integers 0..255) into bytes; the bare leaf K is
// the empty list. False for any other shape.
bool ReadByteList(Cell* list, std::string* bytes);

}  // namespace mox
