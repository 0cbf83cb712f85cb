// The write epoch's counter. It starts at 1, so that a zeroed word is never
// the current epoch.
#include "core/write_epoch.h"

namespace mox {

uint64_t g_write_epoch = 1;
bool g_memory_lent = false;
ValueStamps g_value_stamps = {kValueBit | (uint64_t{1} << kStampShift), kValueBit | (uint64_t{1} << kStampShift)};

}  // namespace mox
