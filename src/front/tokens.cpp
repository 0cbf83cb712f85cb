// The token rule as a stand-alone splitter (the parser applies the same
// rule through TokenEnd with its precomputed bracket partners).
#include "front/tokens.h"

#include "front/brackets.h"

namespace mox {

std::vector<std::string_view> SplitTokens(std::string_view piece) {
  std::vector<std::string_view> tokens;
  const int64_t n = static_cast<int64_t>(piece.size());
  auto partner = [piece](int64_t i) { return MatchBracket(piece, i); };
  for (int64_t i = 0; i < n;) {
    int64_t end = TokenEnd(piece, i, n, 0, partner);
    tokens.push_back(piece.substr(static_cast<size_t>(i), static_cast<size_t>(end - i)));
    i = end;
  }
  return tokens;
}

}  // namespace mox
