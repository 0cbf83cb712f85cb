// Square brackets: the text literals of programs and the nested groups
// inside bracketed texts. Inside them only "[" and "]" count, and every
// search for a partner goes through these functions.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mox {

inline constexpr size_t kNoPartner = std::string_view::npos;

// The "]" closing the "[" at `open`, counting brackets forward; kNoPartner
// when the text ends first.
size_t ClosingSquare(std::string_view s, size_t open);

// The "[" opening the "]" at `close`, counting brackets backward;
// kNoPartner when the text starts first.
size_t OpeningSquare(std::string_view s, size_t close);

// The partner of every square bracket of s (kNoPartner for every other
// byte and for a bracket without one). Each bracket pairs with the nearest
// free one as the text is read forward, or, with from_end, backward (the
// element split of bracketed texts reads from the end); the two readings
// differ only where some bracket has no partner.
std::vector<size_t> SquarePartners(std::string_view s, bool from_end);

// Whether every square bracket of s has a partner.
bool SquaresBalanced(std::string_view s);

// Appends byte b as bracketed-text content: "[" and "]" as the groups [q]
// and [r], which keep the text balanced, and with `newline` a newline as [p].
void AppendEscaped(std::string& out, unsigned char b, bool newline);

}  // namespace mox
