// Source normalisation: one left-to-right pass over the text.
#include "front/normalize.h"

#include <string>

#include "front/charset.h"

namespace mox {
namespace {

// A blank run between p and n survives as one space only when it separates
// two operands: neither side is a separator, "(" cannot precede it, ")"
// cannot follow it, and braces may sit on neither side.
bool KeepsSpace(unsigned char p, unsigned char n) {
  if (IsSeparator(p) || IsSeparator(n)) return false;
  if (p == '(' || n == ')') return false;
  return p != '{' && p != '}' && n != '{' && n != '}';
}

// Copies the text literal that opens at i; returns the offset after it (or
// `end` when the literal is not closed).
size_t CopyLiteral(std::string_view s, size_t i, size_t end, std::string& out) {
  int64_t depth = 0;
  size_t j = i;
  while (j < end) {
    char c = s[j++];
    if (c == '[') ++depth;
    if (c == ']') --depth;
    if (depth == 0) break;
  }
  out.append(s.substr(i, j - i));
  return j;
}

}  // namespace

Text NormalizeSource(const Text& text) {
  std::string_view s = text.view();
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && IsBlank(s[begin])) ++begin;
  while (end > begin && IsBlank(s[end - 1])) --end;
  std::string out;
  out.reserve(end - begin);
  size_t i = begin;
  while (i < end) {
    unsigned char c = s[i];
    if (c == '[') {
      i = CopyLiteral(s, i, end, out);
    } else if (IsBlank(c)) {
      // Trimming guarantees a non-blank byte on both sides of the run.
      size_t j = i;
      while (IsBlank(s[j])) ++j;
      if (KeepsSpace(s[i - 1], s[j])) out.push_back(' ');
      i = j;
    } else {
      out.push_back(static_cast<char>(c));
      ++i;
    }
  }
  return Text(out);
}

}  // namespace mox
