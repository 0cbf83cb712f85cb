// The shortened form of a name or rendering for the `vip` and `tip` fields
// of a report: at most 72 bytes, with its brackets still balanced.
#pragma once

#include "core/text.h"

namespace mox {

// Copies bytes while tracking open brackets; stops when the copy plus the
// closers it needs reach 72 bytes (71 before an opening bracket), then
// closes what is open, innermost first. Inside "[" only square brackets
// count. A ")" or "}" with nothing open is an internal error.
Text ShortenedForm(const Text& t);

// The shortened form, or, for a text with a ")" or "}" that closes nothing
// (the display form of an empty expression is "}"), its first 72 bytes.
Text ShortenedOrCut(const Text& t);

}  // namespace mox
