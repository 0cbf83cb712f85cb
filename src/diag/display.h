// Display decoding of message texts: the interpreter's internal character
// codes back to visible characters, with colour escapes around runs of
// quoted (red) and symbolic (green) bytes.
#pragma once

#include "core/text.h"

namespace mox {

Text DisplayDecode(const Text& t);

}  // namespace mox
