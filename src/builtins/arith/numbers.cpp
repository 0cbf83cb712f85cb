// Number arithmetic by class: integer with integer, `numb` with `numb`,
// real with real, and the conversions that mixed classes go through.
#include "builtins/arith/numbers.h"

#include <cmath>

#include "values/bigint.h"
#include "values/dec_digits.h"
#include "values/numb.h"

namespace mox {

CellRef IntegerArithmetic(ArithOp op, const IntText& a, const IntText& b) {
  switch (op) {
    case ArithOp::kPlus: return IntegerSum(a, b);
    case ArithOp::kDash: return IntegerDifference(a, b);
    case ArithOp::kMult: return IntegerProduct(a, b);
    case ArithOp::kOver: return IntegerQuotient(a, b);
    case ArithOp::kCent: return IntegerRemainder(a, b);
    case ArithOp::kPowa: return IntegerPower(a, b);
  }
  MOX_FAIL();
}

namespace {

CellRef Reals(ArithOp op, double a, double b) {
  switch (op) {
    case ArithOp::kPlus: return MakeReal(a + b);
    case ArithOp::kDash: return MakeReal(a - b);
    case ArithOp::kMult: return MakeReal(a * b);
    case ArithOp::kOver: return MakeReal(a / b);
    case ArithOp::kCent: return MakeReal(std::fmod(a, b));
    case ArithOp::kPowa: return MakeReal(std::pow(a, b));
  }
  MOX_FAIL();
}

CellRef Numbs(ArithOp op, const Numb& a, const Numb& b) {
  Numb r;
  switch (op) {
    case ArithOp::kPlus: NumbAdd(a, b, &r); break;
    case ArithOp::kDash: NumbSubtract(a, b, &r); break;
    case ArithOp::kMult: NumbMultiply(a, b, &r); break;
    case ArithOp::kCent:
      if (!NumbRemainder(a, b, &r)) return CellRef();
      break;
    default: return CellRef();  // no `numb` division; `numb` powers need an integer exponent
  }
  return NumbLeaf(r);
}

void ReadNumb(const Operand& op, Numb* n) {
  if (op.cls == ValueClass::kNumb) {
    NumbFromText(op.text, n);
  } else {
    NumbFromInteger(ReadIntText(op.text), n);
  }
}

CellRef NumbPowerOf(const Operand& a, const Operand& b) {
  IntText e = ReadIntText(b.text);
  if (e.negative) return CellRef();
  Numb base, r;
  NumbFromText(a.text, &base);
  if (e.magnitude.size() > 19) {  // only 0 and +-1 have a power that fits
    if (mpz_cmpabs_ui(base.mantissa.z, 1) > 0 || base.scale != 0) {
      PowerDigitsFit(HUGE_VAL);  // reported as out of memory, or refused
      return CellRef();
    }
    bool odd = ((e.magnitude.back() - '0') & 1) != 0;
    mpz_set_si(r.mantissa.z, mpz_sgn(base.mantissa.z) == 0 ? 0 : (mpz_sgn(base.mantissa.z) < 0 && odd ? -1 : 1));
    return NumbLeaf(r);
  }
  uint64_t exponent = ReadDigits(e.magnitude.data(), e.magnitude.size());
  if (!NumbPower(base, exponent, &r)) return CellRef();
  return NumbLeaf(r);
}

}  // namespace

CellRef NumberArithmetic(ArithOp op, const Operand& a, const Operand& b) {
  if (a.cls == ValueClass::kInteger && b.cls == ValueClass::kInteger) return IntegerArithmetic(op, OperandInteger(a), OperandInteger(b));
  if (a.cls == ValueClass::kReal || b.cls == ValueClass::kReal) return Reals(op, OperandDouble(a), OperandDouble(b));
  if (op == ArithOp::kPowa) {
    if (a.cls == ValueClass::kNumb && b.cls == ValueClass::kInteger) return NumbPowerOf(a, b);
    if (a.cls == ValueClass::kNumb && b.cls == ValueClass::kNumb) return CellRef();
    return Reals(op, OperandDouble(a), OperandDouble(b));
  }
  if (op == ArithOp::kOver) {
    if (a.cls == ValueClass::kNumb && b.cls == ValueClass::kNumb) return CellRef();
    return Reals(op, OperandDouble(a), OperandDouble(b));
  }
  Numb x, y;
  ReadNumb(a, &x);
  ReadNumb(b, &y);
  return Numbs(op, x, y);
}

}  // namespace mox
