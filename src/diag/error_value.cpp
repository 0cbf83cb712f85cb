// Encoding a Report as an error value and decoding it again.
#include "diag/error_value.h"

#include "core/square_brackets.h"

namespace mox {

namespace {

// Index of the "]" that closes the "[" at `open`, or kNoPartner when
// there is no "[" there or nothing closes it.
size_t ClosingBracket(std::string_view t, size_t open) {
  if (open >= t.size() || t[open] != '[') return kNoPartner;
  return ClosingSquare(t, open);
}

// The five fields of an error value's text: where each starts and ends.
// False when the text does not follow the layout.
struct Fields {
  size_t begin[5];
  size_t end[5];
};
bool FindFields(std::string_view t, Fields* f) {
  // The first field's "[" is at 2, the others right after the one before;
  // each starts past its "[" and a marker byte.
  size_t open = 2;
  for (int i = 0; i < 5; ++i) {
    const size_t close = ClosingBracket(t, open);
    if (close == kNoPartner || close < open + 2) return false;
    f->begin[i] = open + 2;
    f->end[i] = close;
    open = close + 1;
  }
  return true;
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
  Fields f;
  const bool laid_out = FindFields(t, &f);
  MOX_ASSERT(laid_out);
  Report report = AllClearReport();
  Text* fields[] = {&report.say, &report.title, &report.vip, &report.tip, &report.way};
  for (int i = 0; i < 5; ++i) *fields[i] = Text(t.substr(f.begin[i], f.end[i] - f.begin[i]));
  return report;
}

bool IsErrorValueText(std::string_view t) {
  Fields f;
  return FindFields(t, &f);
}

}  // namespace mox
