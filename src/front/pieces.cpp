// Cutting a text at its top-level commas; see pieces.h.
#include "front/pieces.h"

#include "front/parser.h"

namespace mox {

std::vector<Piece> SplitPieces(std::string_view text) {
  std::vector<Piece> pieces;
  size_t start = 0;
  for (int64_t comma : FindTopLevel(text, ByteSet(","))) {
    pieces.push_back({start, static_cast<size_t>(comma)});
    start = static_cast<size_t>(comma) + 1;
  }
  pieces.push_back({start, text.size()});
  return pieces;
}

}  // namespace mox
