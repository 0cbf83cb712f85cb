// Value classification and the per-class views the builtins share.
#include "values/value_class.h"

#include "program/analyse.h"
#include "values/number_bits.h"

namespace mox {

bool IsDataValue(Cell* c) {
  if (c->IsLeaf()) return c->Bytes()[0] == '[';
  AnalyseCell(c);
  return c->IsData();
}

ValueClass ClassifyValue(Cell* c) {
  unsigned char first = c->First();
  if (c->IsLeaf()) {
    if (first == kRawByte) return ValueClass::kReal;
    if (first == kBlobByte) return ValueClass::kBlob;
    if (first == kVectorByte) return ValueClass::kVector;
    if (first == '[') return ValueClass::kText;
    if (IsDigit(first)) return c->Bytes()[1] == '0' && first == '0' ? ValueClass::kNumb : ValueClass::kInteger;
    return ValueClass::kVoid;
  }
  if (IsDataValue(c)) return ValueClass::kText;
  if (c->f->IsApp() && IsOneByteLeaf(c->f->f, 'J')) {
    if (IsOneByteLeaf(c->f->a, 'H')) return ValueClass::kNumb;
    if (IsOneByteLeaf(c->f->a, 'K')) return ValueClass::kInteger;
  }
  return ValueClass::kVoid;
}

const char* ClassName(ValueClass cls) {
  switch (cls) {
    case ValueClass::kBlob: return "[post]";
    case ValueClass::kVector: return "[cray]";
    case ValueClass::kInteger: return "[hint]";
    case ValueClass::kNumb: return "[numb]";
    case ValueClass::kReal: return "[real]";
    case ValueClass::kText: return "[zits]";
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
