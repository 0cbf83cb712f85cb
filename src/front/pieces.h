// A program text is a list of pieces cut at its top-level commas: the main
// expression first, then one `name\value` definition per piece. The prelude
// is written the same way, with an empty first piece.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace mox {

struct Piece {
  size_t start, end;  // [start, end) of the text
  std::string_view Of(std::string_view text) const { return text.substr(start, end - start); }
};

// Every piece of a balanced text, in order; there is always at least one.
std::vector<Piece> SplitPieces(std::string_view text);

}  // namespace mox
