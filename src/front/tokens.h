// The token rule of the tight-juxtaposition tier: names (runs of lower-case
// letters and "_"), numbers (runs of digits), bracket groups, and single
// bytes such as upper-case letters. Other operator bytes (a stray comma)
// extend the token they follow.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/cell.h"
#include "front/charset.h"

namespace mox {

// Whether byte c starts a new token after byte p.
inline bool StartsToken(unsigned char p, unsigned char c) {
  if (p == ')' || p == ']') return true;
  if (c == '(' || c == '[') return true;
  if (IsNameChar(c)) return !IsNameChar(p);
  if (IsDigit(c)) return !IsDigit(p);
  return !IsOperatorChar(c);
}

// End (exclusive) of the token that starts at `start`, at most `end`.
// `partner(i)` is the offset of the bracket closing the one at i. A byte of
// class `stop` also ends the token (the parser stops at affix operators,
// which cut pieces before tokens are formed).
template <class PartnerFn>
int64_t TokenEnd(std::string_view s, int64_t start, int64_t end, uint16_t stop, PartnerFn partner) {
  unsigned char p = s[start];
  if (p == '(' || p == '[') return partner(start) + 1;
  for (int64_t j = start + 1; j < end; ++j) {
    unsigned char c = s[j];
    if (StartsToken(p, c) || HasClass(c, stop)) return j;
    p = c;
  }
  return end;
}

// The tokens of a balanced piece, by the rule above (brackets matched with
// MatchBracket).
std::vector<std::string_view> SplitTokens(std::string_view piece);

}  // namespace mox
