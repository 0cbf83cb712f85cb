// The escaped form of a file path: bytes below 0x20, 0x7F and above, "[" and
// "]" become "[" + two upper-case hex digits + "]".
#pragma once

#include "core/text.h"

namespace mox {

Text EscapedForm(const Text& t);

}  // namespace mox
