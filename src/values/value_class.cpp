// Value classification and the per-class views the builtins share.
#include "values/value_class.h"

#include "program/analyse.h"
#include "values/number_bits.h"

namespace mox {

namespace {

bool IsOneLetter(const Cell* c, char letter) {
  return c->IsLeaf() && c->Bytes()[0] == static_cast<unsigned char>(letter) && c->Bytes()[1] == 0;
}

}  // namespace

bool IsDataValue(Cell* c) {
  if (c->IsLeaf()) return c->Bytes()[0] == '[';
  AnalyseCell(c);
  return c->IsData();
}

char ClassifyValue(Cell* c) {
  unsigned char first = c->First();
  if (c->IsLeaf()) {
    if (first == kRawByte) return 'r';
    if (first == kBlobByte) return 'a';
    if (first == kVectorByte) return 'c';
    if (first == '[') return 'u';
    if (IsDigit(first)) return c->Bytes()[1] == '0' && first == '0' ? 'o' : 'i';
    return 'e';
  }
  if (IsDataValue(c)) return 'u';
  if (c->f->IsApp() && IsOneLetter(c->f->f, 'J')) {
    if (IsOneLetter(c->f->a, 'H')) return 'o';
    if (IsOneLetter(c->f->a, 'K')) return 'i';
  }
  return 'e';
}

const char* ClassName(char cls) {
  switch (cls) {
    case 'a': return "[post]";
    case 'c': return "[cray]";
    case 'i': return "[hint]";
    case 'o': return "[numb]";
    case 'r': return "[real]";
    case 'u': return "[zits]";
    default: return "[void]";
  }
}

double RealValue(const Cell* c) {
  double d;
  std::memcpy(&d, c->Bytes() + 1, sizeof d);
  return d;
}

bool NumberTextOf(Cell* c, CellRef* hold, std::string_view* text) {
  if (c->IsLeaf()) {
    *text = LeafView(c);
    return true;
  }
  *hold = NumberListText(c);
  if (!*hold) return false;
  *text = LeafView(hold->get());
  return true;
}

}  // namespace mox
