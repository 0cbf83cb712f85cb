// The write epoch's counter. It starts at 1, so that a zeroed word is never
// the current epoch.
#include "core/write_epoch.h"

namespace mox {

constexpr uint64_t kFirstEpoch = 1;
uint64_t g_write_epoch = kFirstEpoch;
bool g_memory_lent = false;
ValueStamps g_value_stamps = StampsOf(kFirstEpoch);

}  // namespace mox
