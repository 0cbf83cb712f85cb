// The `fd_set` record and its one operation. The record is 520 bytes: a
// 32-bit count at 0, then 64 descriptors of 8 bytes each from offset 8.
//
// `fd_set` is registered as the two-argument operation (descriptor, address
// of a record) that adds the descriptor to the record as the C macro for
// adding to a set does: the first `count` entries are searched; a descriptor
// already there changes nothing; otherwise, when the count is below 64, the
// descriptor goes to entry `count` and the count grows by one. The answer is
// "I". The record's size, 520, stays known to programs through the record
// layouts of the global `_`. A null record is left alone (there is nothing to
// add to), and a count above 64 is taken as a full set.
//
// The record may sit at any address (a blob's bytes, say), so it is read and
// written byte-wise rather than through an aligned struct.
#include <algorithm>
#include <cstring>

#include "bridge/c_function.h"
#include "bridge/families.h"

namespace mox {

namespace {

constexpr uint32_t kSetCapacity = 64;
constexpr size_t kFirstEntry = 8;

void AddDescriptor(int64_t descriptor, unsigned char* set) {
  if (set == nullptr) return;
  uint32_t count;
  std::memcpy(&count, set, sizeof count);
  count = std::min(count, kSetCapacity);
  for (uint32_t i = 0; i < count; ++i) {
    int64_t held;
    std::memcpy(&held, set + kFirstEntry + 8 * i, sizeof held);
    if (held == descriptor) return;
  }
  if (count >= kSetCapacity) return;
  std::memcpy(set + kFirstEntry + 8 * count, &descriptor, sizeof descriptor);
  ++count;
  std::memcpy(set, &count, sizeof count);
}

constexpr BuiltinBinding kDescriptorSet[] = {
    CFunction<AddDescriptor, Unit(Integer, Integer)>("fd_set"),
};

}  // namespace

BuiltinFamily DescriptorSetBuiltins() { return kDescriptorSet; }

}  // namespace mox
