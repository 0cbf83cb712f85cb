// Operand reading for the arithmetic builtins.
#include "values/operand.h"

#include <cstdlib>

#include "core/real_text.h"
#include "values/int_convert.h"
#include "values/numb.h"
#include "values/sequences.h"
#include "values/text_elements.h"
#include "values/value_class.h"

namespace mox {

void ReadOperand(Cell* c, Operand* op) {
  op->cell = c;
  op->cls = ClassifyValue(c);
  if ((op->cls == 'i' || op->cls == 'o') && !NumberTextOf(c, &op->hold, &op->text)) op->cls = 'e';
}

bool JoinBytes(const Operand& op, std::string* scratch, std::string_view* bytes) {
  switch (op.cls) {
    case 'a': {
      BlobView b = BlobPayload(op.cell);
      *bytes = {reinterpret_cast<const char*>(b.data), b.size};
      return true;
    }
    case 'u':
      if (op.cell->IsLeaf()) {
        *bytes = BracketedContent(op.cell);
        return true;
      }
      if (!WriteOutData(op.cell, kMaxJoinBytes, scratch)) return false;
      *bytes = *scratch;
      return true;
    case 'i':
    case 'o':
      *bytes = op.text;
      return true;
    case 'r':
      *scratch = RealText(RealValue(op.cell)).view();
      *bytes = *scratch;
      return true;
    default:
      MOX_FAIL();
  }
}

double OperandDouble(const Operand& op) {
  if (op.cls == 'r') return RealValue(op.cell);
  if (op.cls == 'o') {
    Numb n;
    NumbFromText(op.text, &n);
    return NumbToDouble(n);
  }
  MOX_ASSERT(op.cls == 'i');
  IntText a = ReadIntText(op.text);
  std::string s = a.negative ? "-" : "";
  s.append(a.magnitude);
  return std::strtod(s.c_str(), nullptr);
}

int64_t OperandCount(const Operand& op) {
  MOX_ASSERT(op.cls == 'i');
  return IntegerToInt64(op.hold ? op.hold.get() : op.cell);
}

}  // namespace mox
