// The ref family: fixed-width reads and writes of process memory at an
// absolute address held as an integer. The program vouches for the memory
// (its argument vector, cells reached through `leak`, buffers of the C
// bridge); nothing here keeps it alive.
//
// Two kinds of address can never be memory a program owns, and answer "Z"
// instead of faulting: the first page (address 0, and the small offsets
// from it that indexing a null pointer gives; Linux never maps it), and
// the upper half of the 64-bit space (negative as a signed number), which
// belongs to the kernel; nor may an access run past the lower half's end.
#include <cstdint>
#include <limits>

#include "builtins/indexed/workers.h"
#include "values/int_convert.h"

namespace mox {

namespace {

constexpr int64_t kFirstOwnedAddress = 4096;

unsigned char* MemoryPlace(Cell* p, int width) {
  int64_t address;
  if (!IntegerArgument(p, &address)) return nullptr;
  if (address < kFirstOwnedAddress || address > std::numeric_limits<int64_t>::max() - width) return nullptr;
  return reinterpret_cast<unsigned char*>(static_cast<uintptr_t>(address));
}

}  // namespace

CellRef MemoryRead(Cell* p, int width) {
  unsigned char* at = MemoryPlace(p, width);
  return at != nullptr ? MakeUint64(LoadBytes(at, width)) : CellRef();
}

CellRef MemoryWrite(Cell* p, Cell* v, int width) {
  unsigned char* at = MemoryPlace(p, width);
  int64_t value;
  if (at == nullptr || !IntegerArgument(v, &value)) return CellRef();
  StoreBytes(at, width, static_cast<uint64_t>(value));
  return MakeLeaf("I", 1);
}

}  // namespace mox
