// Shortening texts for report fields; see shorten.h.
#include "diag/shorten.h"

#include <string>

namespace mox {

namespace {

constexpr int64_t kShortLimit = 72;

unsigned char CloserOf(unsigned char open) {
  return open == '(' ? ')' : open == '{' ? '}' : ']';
}

}  // namespace

Text ShortenedForm(const Text& t) {
  std::string out;
  std::string open;  // the stack of open brackets; never deeper than 36
  for (int64_t i = 0; i < t.size(); ++i) {
    unsigned char b = t.At(i);
    int64_t used = static_cast<int64_t>(out.size() + open.size());
    if (used == kShortLimit) break;
    bool square = !open.empty() && open.back() == '[';
    bool opens = square ? b == '[' : (b == '(' || b == '{' || b == '[');
    bool closes = square ? b == ']' : (b == ')' || b == '}');
    if (opens) {
      if (used == kShortLimit - 1) break;
      open.push_back(static_cast<char>(b));
    } else if (closes && !open.empty()) {
      open.pop_back();
    }  // a closer with nothing open stays a plain byte
    out.push_back(static_cast<char>(b));
  }
  while (!open.empty()) {
    out.push_back(static_cast<char>(CloserOf(static_cast<unsigned char>(open.back()))));
    open.pop_back();
  }
  return Text(out);
}

}  // namespace mox
