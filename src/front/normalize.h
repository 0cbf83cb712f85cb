// Source normalisation: the canonical form every program text takes before
// it is cut into definitions and parsed.
#pragma once

#include "core/text.h"

namespace mox {

// Trims leading and trailing blanks, keeps text literals ([...], nesting)
// verbatim, and collapses every other run of spaces and newlines to a
// single space only where that space is an application between two
// operands; elsewhere the run disappears.
Text NormalizeSource(const Text& text);

}  // namespace mox
