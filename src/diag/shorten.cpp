// Shortening texts for report fields; see shorten.h.
#include "diag/shorten.h"

#include <string>

namespace mox {

namespace {

constexpr int64_t kShortLimit = 72;

unsigned char CloserOf(unsigned char open) {
  return open == '(' ? ')' : open == '{' ? '}' : ']';
}

// What byte b does to the stack of open brackets `open`: +1 opens, -1
// closes, 0 is a plain byte. Inside "[" only square brackets count.
int BracketMove(const std::string& open, unsigned char b) {
  bool square = !open.empty() && open.back() == '[';
  if (square ? b == '[' : (b == '(' || b == '{' || b == '[')) return 1;
  if (square ? b == ']' : (b == ')' || b == '}')) return -1;
  return 0;
}

}  // namespace

Text ShortenedForm(const Text& t) {
  std::string out;
  std::string open;  // the stack of open brackets; never deeper than 36
  for (int64_t i = 0; i < t.size(); ++i) {
    unsigned char b = t.At(i);
    int64_t used = static_cast<int64_t>(out.size() + open.size());
    if (used == kShortLimit) break;
    int move = BracketMove(open, b);
    if (move > 0) {
      if (used == kShortLimit - 1) break;
      open.push_back(static_cast<char>(b));
    } else if (move < 0 && !open.empty()) {
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
