// Bracket matching and the two passes of the bracket check.
#include "front/brackets.h"

#include <algorithm>
#include <vector>

#include "core/square_brackets.h"
#include "front/charset.h"
#include "front/names.h"

namespace mox {
namespace {

int GroupCount(unsigned char c) { return (c == '(' || c == '{') ? 1 : (c == ')' || c == '}') ? -1 : 0; }

// The partner of the square bracket at i, which must have one.
int64_t MatchSquare(std::string_view text, int64_t i) {
  size_t j = text[i] == '[' ? ClosingSquare(text, i) : OpeningSquare(text, i);
  MOX_ASSERT(j != kNoPartner);
  return static_cast<int64_t>(j);
}

unsigned char Opener(unsigned char close) { return close == ')' ? '(' : close == ']' ? '[' : '{'; }

}  // namespace

int64_t MatchBracket(std::string_view text, int64_t i) {
  const int64_t n = static_cast<int64_t>(text.size());
  MOX_ASSERT(i >= 0 && i < n);
  unsigned char c = text[i];
  if (!IsBracket(c)) return i;
  const int step = IsOpeningBracket(c) ? 1 : -1;
  if (c == '[' || c == ']') return MatchSquare(text, i);
  int64_t depth = 0;
  for (int64_t j = i;; j += step) {
    MOX_ASSERT(j >= 0 && j < n);
    unsigned char b = text[j];
    if (b == '[' || b == ']') {
      // A literal is met from its outer side: '[' going right, ']' going left.
      MOX_ASSERT(b == (step > 0 ? '[' : ']'));
      j = MatchSquare(text, j);
      continue;
    }
    depth += step * GroupCount(b);
    MOX_ASSERT(depth >= 0);
    if (depth == 0) return j;
  }
}

Text BracketWord(unsigned char c) {
  switch (c) {
    case '(':
    case ')':
      return "parenthesis";
    case '[':
    case ']':
      return "bracket";
    case '{':
    case '}':
      return "wing";
    default:
      MOX_FAIL();
  }
}

namespace {

Text Bracketed(const Text& code) { return Text("[") + code + Text("]"); }

void DanglingRight(const Text& text, int64_t i, Report& report) {
  Text code = PlaceCode(i);
  report.title = "match";
  report.say = Text("Dangling right-") + BracketWord(text.At(i)) + Text(" at ") + Bracketed(code) + Text(".");
  report.vip = code;
}

void DanglingLeft(const Text& text, int64_t i, Report& report) {
  Text code = PlaceCode(i);
  report.title = "match";
  report.say = Text("Dangling left-") + BracketWord(text.At(i)) + Text(" at ") + Bracketed(code) + Text(".");
  report.vip = code;
}

void Misfit(const Text& text, int64_t open, int64_t close, Report& report) {
  Text open_code = PlaceCode(open);
  Text close_code = PlaceCode(close);
  TextBuilder say;
  say.Append("'");
  say.AppendByte(text.At(open));
  say.Append("' at ");
  say.Append(Bracketed(open_code));
  say.Append(" doesn't fit '");
  say.AppendByte(text.At(close));
  say.Append("' at ");
  say.Append(Bracketed(close_code));
  say.Append(".");
  report.title = "match";
  report.say = say.Flatten();
  report.vip = open_code;
  report.tip = close_code;
}

// A text that starts with "}" is the program's way to stop at once with a
// short message of its own: the rest of its first 73 bytes.
void GeneratedError(const Text& text, Report& report) {
  report.title = "error";
  report.say =
      "Programmatically generated error. The first character in the program is right wing. "
      "This error can be used by the road function to exit the program immediately with a "
      "short message.";
  report.tip = text.Substr(1, std::min<int64_t>(72, text.size() - 1));
}

// Pass one: every bracket closed by one of its own kind.
bool CheckNesting(const Text& text, Report& report) {
  std::vector<int64_t> open;
  const int64_t n = text.size();
  for (int64_t i = 0; i < n; ++i) {
    unsigned char c = text.At(i);
    if (!open.empty() && text.At(open.back()) == '[') {
      if (c == '[') open.push_back(i);
      if (c == ']') open.pop_back();
      continue;
    }
    if (IsOpeningBracket(c)) {
      open.push_back(i);
    } else if (IsClosingBracket(c)) {
      if (open.empty() && i == 0 && c == '}') {
        GeneratedError(text, report);
        return false;
      }
      if (open.empty()) {
        DanglingRight(text, i, report);
        return false;
      }
      if (text.At(open.back()) != Opener(c)) {
        Misfit(text, open.back(), i, report);
        return false;
      }
      open.pop_back();
    }
  }
  if (open.empty()) return true;
  DanglingLeft(text, open.back(), report);
  return false;
}

// Pass two, right to left: a parenthesised group holding a depth-zero comma
// must be a call list. The stack holds the offsets of open ")" and "}" and,
// on top of a ")", the leftmost comma seen so far in that group.
bool CheckCallLists(const Text& text, Report& report) {
  std::vector<int64_t> stack;
  std::string_view s = text.view();
  for (int64_t i = text.size() - 1; i >= 0; --i) {
    unsigned char c = s[i];
    if (c == ']') {
      i = MatchBracket(s, i);
    } else if (c == ')' || c == '}') {
      stack.push_back(i);
    } else if (c == ',') {
      if (stack.empty() || s[stack.back()] == '}') continue;
      if (s[stack.back()] == ',') stack.back() = i;
      else stack.push_back(i);
    } else if (c == '{') {
      MOX_ASSERT(!stack.empty());
      stack.pop_back();
    } else if (c == '(') {
      MOX_ASSERT(!stack.empty());
      if (s[stack.back()] == ',') {
        if (i == 0 || IsSeparator(s[i - 1])) {
          Text code = PlaceCode(stack.back());
          report.title = "comma";
          report.say = Text("Comma at ") + Bracketed(code) + Text(" is not part of a valid call list.");
          report.vip = code;
          return false;
        }
        stack.pop_back();
      }
      MOX_ASSERT(!stack.empty());
      stack.pop_back();
    }
  }
  return true;
}

}  // namespace

bool CheckBrackets(const Text& text, Report& report) {
  return CheckNesting(text, report) && CheckCallLists(text, report);
}

}  // namespace mox
