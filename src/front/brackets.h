// Bracket matching and the bracket check, the only syntax check made before
// parsing. ( ) group and form call lists, { } form brace lists, and [ ] is a
// text literal inside which only square brackets count.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/text.h"
#include "diag/report.h"

namespace mox {

// Offset of the partner of the bracket at i in balanced text, or i itself
// for any other byte. Parentheses and braces are not told apart; literals
// are stepped over whole. Requires 0 <= i < text.size().
int64_t MatchBracket(std::string_view text, int64_t i);

// "parenthesis", "bracket" or "wing" for the two bytes of each kind.
Text BracketWord(unsigned char c);

// True when every bracket is matched by one of its own kind and every
// parenthesised group holding a depth-zero comma is a call list (the byte
// before its "(" is no separator). Otherwise writes the first problem into
// `report` and returns false. Places refer to offsets in `text`.
bool CheckBrackets(const Text& text, Report& report);

}  // namespace mox
