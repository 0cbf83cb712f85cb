// The builtins that turn bytes into bracketed texts: buck ($: the sign of a
// number, or a blob's first byte as a text), cape (a blob as a text) and
// zits (a character code, or other values, as a text). Inside a bracketed
// text "[" and "]" are written as the groups [q] and [r], and buck writes a
// newline as [p].
//
// This system's own choices where the language leaves them open:
//   buck of the empty blob is "Z" (it has no first byte);
//   zits of a blob is its cape; of a real, its printed form in brackets
//   (+1.5000000000000000e+0000); of a vector, the text of its children read
//   as character codes ("Z" when a slot is empty or holds no integer); of
//   the list view ((V (X J)) y), the text that list stands for.
#include <cmath>
#include <string>

#include "builtins/families.h"
#include "core/square_brackets.h"
#include "core/real_text.h"
#include "values/int_convert.h"
#include "values/lists.h"
#include "values/operand.h"
#include "values/sequences.h"
#include "values/text_elements.h"
#include "values/value_class.h"

namespace mox {

namespace {

CellRef OneCharText(unsigned char b, bool newline) {
  std::string content;
  AppendEscaped(content, b, newline);
  return MakeBracketed(content);
}

CellRef CapeOf(const Cell* blob) {
  BlobView b = BlobPayload(blob);
  std::string content;
  content.reserve(b.size);
  for (uint64_t i = 0; i < b.size; ++i) AppendEscaped(content, b.data[i], false);
  return MakeBracketed(content);
}

bool IsNonNegative(const Operand& op) {
  if (op.cls == ValueClass::kInteger) return op.text == "0" || op.text[0] != '0';
  return op.text.size() < 3 || op.text[2] != '0';  // a `numb`: "00" then no further "0"
}

CellRef Buck(const NativeArgs<1>& args) {
  Cell* a = args[0];
  Operand op;
  ReadOperand(a, &op);
  switch (op.cls) {
    case ValueClass::kReal: return MakeLeaf(std::signbit(RealValue(a)) ? "H" : "K", 1);
    case ValueClass::kInteger:
    case ValueClass::kNumb: return MakeTruth(IsNonNegative(op));
    case ValueClass::kBlob: {
      BlobView b = BlobPayload(a);
      return b.size == 0 ? CellRef() : OneCharText(b.data[0], true);
    }
    case ValueClass::kText: return ListInit(a);
    default: return CellRef();
  }
}

CellRef VectorCodes(const Cell* v) {
  std::string content;
  for (size_t i = 0, n = VectorSize(v); i < n; ++i) {
    Cell* child = VectorSlot(v, i);
    if (child == nullptr || ClassifyValue(child) != ValueClass::kInteger) return CellRef();
    AppendEscaped(content, static_cast<unsigned char>(IntegerToInt64(child)), false);
  }
  return MakeBracketed(content);
}

CellRef WrittenOut(Cell* a) {
  std::string content;
  Cell* list;
  if (a->IsApp() && IsDataValue(a)) {
    if (!WriteOutData(a, &content)) return CellRef();
  } else if (!ReadListView(a, &list) || !WriteOutListForm(list, &content)) {
    return CellRef();
  }
  return MakeBracketed(content);
}

CellRef Zits(const NativeArgs<1>& args) {
  Cell* a = args[0];
  Operand op;
  ReadOperand(a, &op);
  switch (op.cls) {
    case ValueClass::kInteger: return OneCharText(static_cast<unsigned char>(IntegerToInt64(a)), false);
    case ValueClass::kText: return a->IsLeaf() ? CellRef::Share(a) : WrittenOut(a);
    case ValueClass::kBlob: return CapeOf(a);
    case ValueClass::kReal: return MakeBracketed(RealText(RealValue(a)).view());
    case ValueClass::kVector: return VectorCodes(a);
    case ValueClass::kVoid: return WrittenOut(a);
    default: return CellRef();  // a `numb`
  }
}

CellRef Cape(const NativeArgs<1>& a) { return ClassifyValue(a[0]) == ValueClass::kBlob ? CapeOf(a[0]) : CellRef(); }

constexpr BuiltinBinding kCharacters[] = {
    Builtin<Buck>("buck"),
    Builtin<Cape>("cape"),
    Builtin<Zits>("zits"),
};

}  // namespace

BuiltinFamily CharacterBuiltins() { return kCharacters; }

}  // namespace mox
