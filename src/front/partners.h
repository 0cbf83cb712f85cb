// The partner of every bracket of a balanced text, found in one left-to-right
// pass, so that the parser steps over a group of any size in constant time
// instead of rescanning it at each tier and nesting level.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace mox {

// Entries are meaningful at bracket offsets only. Parentheses and braces
// are paired without telling them apart, and a text literal [...] is paired
// by its square brackets alone, its contents left unpaired, exactly as
// MatchBracket does. Texts shorter than 2^32 bytes use 4-byte entries.
// Entries at other offsets are never written nor read (the table is not
// cleared, which would cost as much as the rest of the pass).
struct BracketPartners {
  std::unique_ptr<uint32_t[]> narrow;
  std::unique_ptr<int64_t[]> wide;

  int64_t At(int64_t i) const { return narrow ? int64_t{narrow[i]} : wide[i]; }
};

// Internal assertion when the text is not balanced.
BracketPartners FindPartners(std::string_view text);

}  // namespace mox
