#include "diag/display.h"

namespace mox {

// Placeholder until the character code tables land: shows the text as it is.
Text DisplayDecode(const Text& t) { return t; }

}  // namespace mox
