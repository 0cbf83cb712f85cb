// Encoding a Report as an error value and decoding it again.
#include "diag/error_value.h"

#include "core/square_brackets.h"

namespace mox {

namespace {

// Index of the "]" that closes the "[" at `open`.
size_t ClosingBracket(std::string_view t, size_t open) {
  MOX_ASSERT(open < t.size() && t[open] == '[');
  size_t close = ClosingSquare(t, open);
  MOX_ASSERT(close != kNoPartner);
  return close;
}

// Symbolic codes of "[" and "]" (display.h): the Banner shows them as the
// brackets themselves, but bracket matching does not see them.
constexpr unsigned char kOpenCode = 31;
constexpr unsigned char kCloseCode = 255;

// A field as stored: a bracket without a partner (a text cut in the middle
// of a literal, bytes a program supplied) becomes its symbolic code, so the
// field is found again whole and every later field after it.
void AppendField(TextBuilder& t, const Text& field) {
  std::string_view s = field.view();
  if (SquaresBalanced(s)) return t.Append(s);
  std::vector<size_t> partner = SquarePartners(s, false);
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    bool lone = (b == '[' || b == ']') && partner[i] == kNoPartner;
    t.AppendByte(lone ? (b == '[' ? kOpenCode : kCloseCode) : b);
  }
}

}  // namespace

CellRef MakeErrorValue(const Report& report) {
  TextBuilder t;
  t.Append("['");
  for (const Text* field : {&report.say, &report.title, &report.vip, &report.tip, &report.way}) {
    t.Append("[\"");
    AppendField(t, *field);
    t.Append("]");
  }
  t.Append("]");
  return MakeApp(MakeLeaf("]"), MakeLeaf(t.Flatten()));
}

Report DecodeErrorValue(std::string_view t) {
  Report report = AllClearReport();
  size_t p = ClosingBracket(t, 2);
  MOX_ASSERT(p >= 4);  // the marker byte after the field's "["
  report.say = Text(t.substr(4, p - 4));
  for (Text* field : {&report.title, &report.vip, &report.tip, &report.way}) {
    size_t q = ClosingBracket(t, p + 1);
    MOX_ASSERT(q >= p + 3);
    *field = Text(t.substr(p + 3, q - (p + 3)));
    p = q;
  }
  return report;
}

}  // namespace mox
