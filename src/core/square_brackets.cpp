// Square-bracket partners; see square_brackets.h.
#include "core/square_brackets.h"

namespace mox {

size_t ClosingSquare(std::string_view s, size_t open) {
  size_t depth = 0;
  for (size_t i = open; i < s.size(); ++i) {
    if (s[i] == '[') ++depth;
    if (s[i] == ']' && --depth == 0) return i;
  }
  return kNoPartner;
}

size_t OpeningSquare(std::string_view s, size_t close) {
  size_t depth = 0;
  for (size_t i = close + 1; i-- > 0;) {
    if (s[i] == ']') ++depth;
    if (s[i] == '[' && --depth == 0) return i;
  }
  return kNoPartner;
}

std::vector<size_t> SquarePartners(std::string_view s, bool from_end) {
  std::vector<size_t> partner(s.size(), kNoPartner);
  std::vector<size_t> waiting;  // brackets read so far that still want a partner
  const char first = from_end ? ']' : '[';
  for (size_t k = 0; k < s.size(); ++k) {
    size_t i = from_end ? s.size() - 1 - k : k;
    if (s[i] == first) {
      waiting.push_back(i);
    } else if ((s[i] == '[' || s[i] == ']') && !waiting.empty()) {
      partner[i] = waiting.back();
      partner[waiting.back()] = i;
      waiting.pop_back();
    }
  }
  return partner;
}

void AppendEscaped(std::string& out, unsigned char b, bool newline) {
  if (b == '[') {
    out.append("[q]");
  } else if (b == ']') {
    out.append("[r]");
  } else if (b == '\n' && newline) {
    out.append("[p]");
  } else {
    out.push_back(static_cast<char>(b));
  }
}

bool SquaresBalanced(std::string_view s) {
  size_t depth = 0;
  for (char b : s) {
    if (b == '[') ++depth;
    if (b != ']') continue;
    if (depth == 0) return false;
    --depth;
  }
  return depth == 0;
}

}  // namespace mox
