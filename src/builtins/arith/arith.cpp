// The arithmetic builtins plus, dash, mult, over, cent and powa: numbers by
// class, and the joins, cuts, repeats, appends and prepends of texts, blobs
// and vectors. Every pair that no rule takes gives "Z".
#include <string>

#include "builtins/arith/numbers.h"
#include "builtins/families.h"
#include "core/memory.h"
#include "values/int_convert.h"
#include "values/operand.h"
#include "values/sequences.h"
#include "values/text_elements.h"

namespace mox {

namespace {

bool IsText(ValueClass cls) { return cls == ValueClass::kBlob || cls == ValueClass::kText; }
bool IsSequence(ValueClass cls) { return cls == ValueClass::kBlob || cls == ValueClass::kVector || cls == ValueClass::kText; }

// Text rule of plus: the bytes of both, as a blob when either is a blob,
// else as a bracketed text. Only memory bounds the join.
CellRef JoinTexts(const Operand& a, const Operand& b) {
  std::string sa, sb;
  std::string_view x, y;
  if (!JoinBytes(a, &sa, &x) || !JoinBytes(b, &sb, &y)) return CellRef();
  const bool blob = a.cls == ValueClass::kBlob || b.cls == ValueClass::kBlob;
  if (!MemoryRequestFits(uint64_t{x.size()} + y.size(), blob ? "a blob" : "a text")) return CellRef();
  return blob ? MakeJoinedBlob(x, y) : MakeBracketed(x, y);
}

CellRef PlusRule(const Operand& a, const Operand& b) {
  if (a.cls == ValueClass::kVector || b.cls == ValueClass::kVector) {
    if (a.cls != ValueClass::kVector || b.cls != ValueClass::kVector) return CellRef();
    return JoinVectors(a.cell, b.cell);
  }
  if (IsText(a.cls) || IsText(b.cls)) return JoinTexts(a, b);
  return NumberArithmetic(ArithOp::kPlus, a, b);
}

// dash with a blob or bracketed text a and an integer b: a cut.
CellRef CutText(const Operand& a, const Operand& b) {
  std::string scratch;
  std::string_view bytes, kept;
  if (!JoinBytes(a, &scratch, &bytes)) return CellRef();
  if (!CutBytes(bytes, OperandCount(b), &kept)) return CellRef();
  if (a.cls == ValueClass::kBlob) return MakeJoinedBlob(kept, {});
  return MakeBracketed(kept);
}

CellRef DashRule(const Operand& a, const Operand& b) {
  if (a.cls == ValueClass::kBlob || a.cls == ValueClass::kVector) {
    if (b.cls != ValueClass::kInteger) return CellRef();
    if (a.cls == ValueClass::kVector) return CutVector(a.cell, OperandCount(b));
    return CutText(a, b);
  }
  if (a.cls == ValueClass::kText && b.cls == ValueClass::kInteger) return CutText(a, b);
  if (a.cls == ValueClass::kText && b.cls == ValueClass::kText) return MakeApp(CellRef::Share(a.cell), CellRef::Share(b.cell));
  if (IsSequence(a.cls) || IsSequence(b.cls)) return CellRef();
  return NumberArithmetic(ArithOp::kDash, a, b);
}

CellRef MultRule(const Operand& a0, const Operand& b0) {
  bool swap = a0.cls == ValueClass::kInteger && IsSequence(b0.cls);
  const Operand& a = swap ? b0 : a0;
  const Operand& b = swap ? a0 : b0;
  if (IsSequence(a.cls) && b.cls == ValueClass::kInteger) {
    int64_t n = OperandCount(b);
    if (n < 0) return CellRef();
    if (a.cls == ValueClass::kVector) return RepeatVector(a.cell, n);
    std::string scratch;
    std::string_view bytes;
    if (!JoinBytes(a, &scratch, &bytes)) return CellRef();
    return RepeatBytes(bytes, static_cast<uint64_t>(n), a.cls == ValueClass::kBlob);
  }
  if (IsSequence(a.cls) || IsSequence(b.cls)) return CellRef();
  return NumberArithmetic(ArithOp::kMult, a, b);
}

CellRef OverRule(const Operand& a, const Operand& b) {
  if (IsSequence(a.cls) || IsSequence(b.cls)) return CellRef();
  return NumberArithmetic(ArithOp::kOver, a, b);
}

CellRef CentRule(const Operand& a, const Operand& b) {
  if (IsSequence(a.cls) || IsSequence(b.cls)) return CellRef();
  return NumberArithmetic(ArithOp::kCent, a, b);
}

CellRef PowaRule(const Operand& a, const Operand& b) {
  if (IsSequence(a.cls) || IsSequence(b.cls)) return CellRef();
  return NumberArithmetic(ArithOp::kPowa, a, b);
}

using Rule = CellRef (*)(const Operand&, const Operand&);

// Most numbers in programs are small: two integer leaves of at most 18
// digits are answered from 64-bit words without the general path, inline
// in each builtin.
template <ArithOp op>
[[gnu::always_inline]] inline bool SmallArithmetic(const Cell* a, const Cell* b, CellRef* out) {
  int64_t x, y, r;
  if (!SmallIntegerValue(a, &x) || !SmallIntegerValue(b, &y)) return false;
  if constexpr (op == ArithOp::kPlus) {
    r = x + y;
  } else if constexpr (op == ArithOp::kDash) {
    r = x - y;
  } else if constexpr (op == ArithOp::kMult) {
    if (__builtin_mul_overflow(x, y, &r)) return false;
  } else if constexpr (op == ArithOp::kOver) {
    if (y == 0) return false;
    r = x / y;  // truncates toward zero
  } else if constexpr (op == ArithOp::kCent) {
    if (y == 0) return false;
    int64_t m = (x < 0 ? -x : x) % (y < 0 ? -y : y);
    r = ((x < 0) == (y < 0) || m == 0) ? m : (y < 0 ? -y : y) - m;
  } else {
    return false;
  }
  *out = MakeInt64(r);
  return true;
}

// The common steps: two integer leaves go straight to the integer
// arithmetic, where every operator's rules end for them. Otherwise the
// vector element rules (append for over and powa, prepend for cent) take
// any value as the element; otherwise a void operand gives "Z", and the
// operator's own rules decide.
CellRef Apply(const NativeArgs<2>& args, Rule rule, ArithOp op) {
  if (IsIntegerLeaf(args[0]) && IsIntegerLeaf(args[1]))
    return IntegerArithmetic(op, ReadIntegerLeaf(args[0]), ReadIntegerLeaf(args[1]));
  Operand a, b;
  ReadOperand(args[0], &a);
  ReadOperand(args[1], &b);
  bool appends = op == ArithOp::kOver || op == ArithOp::kPowa;
  if (appends && a.cls == ValueClass::kVector) return AppendToVector(a.cell, b.cell);
  if (op == ArithOp::kCent && b.cls == ValueClass::kVector) return PrependToVector(a.cell, b.cell);
  if (a.cls == ValueClass::kVoid || b.cls == ValueClass::kVoid) return CellRef();
  return rule(a, b);
}

template <ArithOp op, Rule rule>
CellRef Arithmetic(const NativeArgs<2>& args) {
  CellRef small;
  if (SmallArithmetic<op>(args[0], args[1], &small)) return small;
  return Apply(args, rule, op);
}

CellRef Plus(const NativeArgs<2>& a) { return Arithmetic<ArithOp::kPlus, PlusRule>(a); }
CellRef Dash(const NativeArgs<2>& a) { return Arithmetic<ArithOp::kDash, DashRule>(a); }
CellRef Mult(const NativeArgs<2>& a) { return Arithmetic<ArithOp::kMult, MultRule>(a); }
CellRef Over(const NativeArgs<2>& a) { return Arithmetic<ArithOp::kOver, OverRule>(a); }
CellRef Cent(const NativeArgs<2>& a) { return Arithmetic<ArithOp::kCent, CentRule>(a); }
CellRef Powa(const NativeArgs<2>& a) { return Arithmetic<ArithOp::kPowa, PowaRule>(a); }

constexpr BuiltinBinding kArithmetic[] = {
    ReadOnlyBuiltin<Cent>("cent"), ReadOnlyBuiltin<Dash>("dash"), ReadOnlyBuiltin<Mult>("mult"),
    ReadOnlyBuiltin<Over>("over"), ReadOnlyBuiltin<Plus>("plus"), ReadOnlyBuiltin<Powa>("powa"),
};

}  // namespace

BuiltinFamily ArithmeticBuiltins() { return kArithmetic; }

}  // namespace mox
