// type, rank, wave and lisp: what a value is, how big it is, its negation
// (or the rest of a blob or text), and its printed form.
#include <string>
#include <vector>

#include "builtins/families.h"
#include "builtins/inspect/support.h"
#include "core/square_brackets.h"
#include "diag/render.h"
#include "program/sharing.h"
#include "values/bigint.h"
#include "values/int_convert.h"
#include "values/lists.h"
#include "values/mpz_text.h"
#include "values/number_bits.h"
#include "values/operand.h"
#include "values/text_elements.h"
#include "values/value_class.h"

namespace mox {

namespace {

CellRef Count(uint64_t n) { return MakeInt64(static_cast<int64_t>(n)); }

// rank: a blob's payload length, a real's 8 bytes, a number's text length,
// a vector's child count, a text's content length.
CellRef Rank(const NativeArgs<1>& args) {
  Cell* a = args[0];
  Operand op;
  ReadOperand(a, &op);
  switch (op.cls) {
    case ValueClass::kBlob: return Count(BlobPayload(a).size);
    case ValueClass::kReal: return Count(8);
    case ValueClass::kInteger:
    case ValueClass::kNumb: return Count(op.text.size());
    case ValueClass::kVector: return Count(VectorSize(a));
    case ValueClass::kText: {
      uint64_t n;
      return ContentLength(a, &n) ? Count(n) : CellRef();
    }
    default: return CellRef();
  }
}

// A list-form number is toggled rather than rebuilt: the flag at its head
// is swapped (J K t becomes J H t and back) and the tail shared.
CellRef SwapListFlag(Cell* list) {
  bool integer = TruthValue(list->f->a) == 1;
  return MakeApp(CellRef::Share(list->f->f), MakeTruth(!integer), CellRef::Share(list->a));
}

CellRef NegateNumber(const Operand& op) {
  if (op.cell->IsApp()) return SwapListFlag(op.cell);
  if (op.cls == ValueClass::kInteger) return IntegerNegation(OperandInteger(op));
  Mpz bits;  // a `numb`: flip the sign bit; zero stays zero
  NumberBitsOfText(op.text, bits.z);
  mpz_combit(bits.z, 1);
  return NumberTextOfBits(bits.z);
}

CellRef Wave(const NativeArgs<1>& args) {
  Cell* a = args[0];
  Operand op;
  ReadOperand(a, &op);
  switch (op.cls) {
    case ValueClass::kReal: return RealFromBits(RealBits(a) ^ (uint64_t{1} << 63));
    case ValueClass::kInteger:
    case ValueClass::kNumb: return NegateNumber(op);
    case ValueClass::kBlob: {
      BlobView b = BlobPayload(a);
      return b.size == 0 ? CellRef() : MakeBlob(b.data + 1, b.size - 1);
    }
    case ValueClass::kText: return ListLast(a);  // the answer of `rght`
    default: return CellRef();
  }
}

// The printed form as the content of a bracketed text. The display form of
// an odd leaf may hold a "[" or "]" without its partner; such a byte is
// written as the escape [q] or [r], so the answer is always a well-formed
// bracketed text whose elements can be taken apart.
CellRef BracketedForm(std::string_view form) {
  if (SquaresBalanced(form)) return MakeBracketed(form);
  std::vector<size_t> partner = SquarePartners(form, false);
  std::string escaped;
  for (size_t i = 0; i < form.size(); ++i) {
    bool lone = (form[i] == '[' || form[i] == ']') && partner[i] == kNoPartner;
    if (lone) {
      AppendEscaped(escaped, static_cast<unsigned char>(form[i]), false);
    } else {
      escaped.push_back(form[i]);
    }
  }
  return MakeBracketed(escaped);
}

// The class name comes from the run's sharing table, so every answer naming
// the same class is the same cell (and the one `tern` gives for that text).
CellRef Type(const NativeArgs<1>& a) {
  CellRef name = MakeLeaf(ClassName(ClassifyValue(a[0])));
  return ShareValue(name.get());
}

CellRef Lisp(const NativeArgs<1>& a) { return BracketedForm(DisplayForm(a[0]).view()); }

constexpr BuiltinBinding kMeasureBuiltins[] = {
    ReadOnlyBuiltin<Type>("type"),
    ReadOnlyBuiltin<Rank>("rank"),
    ReadOnlyBuiltin<Wave>("wave"),
    Builtin<Lisp>("lisp"),
};

}  // namespace

BuiltinFamily MeasureBuiltins() { return kMeasureBuiltins; }

}  // namespace mox
