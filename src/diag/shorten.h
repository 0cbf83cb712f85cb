// The shortened form of a name or rendering for the `vip` and `tip` fields
// of a report: at most 72 bytes, with its brackets still balanced.
#pragma once

#include "core/text.h"

namespace mox {

// Copies bytes while tracking open brackets; stops when the copy plus the
// closers it needs reach 72 bytes (71 before an opening bracket), then
// closes what is open, innermost first. Inside "[" only square brackets
// count. A ")" or "}" with nothing open is copied as a plain byte: display
// forms are balanced, except that of a text whose content was written in
// place (its own "]" can close it early, as in "[a])]").
Text ShortenedForm(const Text& t);

}  // namespace mox
