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
  if ((op->cls == ValueClass::kInteger || op->cls == ValueClass::kNumb) && !NumberTextOf(c, &op->hold, &op->text)) op->cls = ValueClass::kVoid;
}

bool JoinBytes(const Operand& op, std::string* scratch, std::string_view* bytes) {
  switch (op.cls) {
    case ValueClass::kBlob: {
      BlobView b = BlobPayload(op.cell);
      *bytes = {reinterpret_cast<const char*>(b.data), static_cast<size_t>(b.size)};
      return true;
    }
    case ValueClass::kText:
      if (op.cell->IsLeaf()) {
        *bytes = BracketedContent(op.cell);
        return true;
      }
      if (!WriteOutData(op.cell, scratch)) return false;
      *bytes = *scratch;
      return true;
    case ValueClass::kInteger:
    case ValueClass::kNumb:
      *bytes = op.text;
      return true;
    case ValueClass::kReal:
      *scratch = RealText(RealValue(op.cell)).view();
      *bytes = *scratch;
      return true;
    default:
      MOX_FAIL();
  }
}

IntText OperandInteger(const Operand& op) {
  MOX_ASSERT(op.cls == ValueClass::kInteger);
  return ReadIntegerLeaf(op.hold ? op.hold.get() : op.cell);
}

double OperandDouble(const Operand& op) {
  if (op.cls == ValueClass::kReal) return RealValue(op.cell);
  if (op.cls == ValueClass::kNumb) {
    Numb n;
    NumbFromText(op.text, &n);
    return NumbToDouble(n);
  }
  MOX_ASSERT(op.cls == ValueClass::kInteger);
  IntText a = ReadIntText(op.text);
  std::string s = a.negative ? "-" : "";
  s.append(a.magnitude);
  return std::strtod(s.c_str(), nullptr);
}

int64_t OperandCount(const Operand& op) {
  MOX_ASSERT(op.cls == ValueClass::kInteger);
  return IntegerToInt64(op.hold ? op.hold.get() : op.cell);
}

bool IntegerArgument(Cell* c, int64_t* value) {
  if (SmallIntegerValue(c, value)) return true;  // most indexes and counts
  Operand op;
  ReadOperand(c, &op);
  if (op.cls != ValueClass::kInteger) return false;
  *value = OperandCount(op);
  return true;
}

}  // namespace mox
