// real, init and lits: a value converted to a real, to a blob and to a
// number.
//
// Decisions of this system beyond the class rules:
// - `real` first recognises the list `lots` makes of a real (64 truth
//   values, bit 0 first, ending in K) and rebuilds that real, so
//   real(lots x) is x. The test comes before the class rules because such
//   a list also reads as a list-form number.
// - `init` of a void value accepts the list `lots` makes of a blob or text
//   (byte values 0..255, ending in K; the bare K is the empty list), so
//   init(lots x) is the blob of x's bytes.
// - `lits` of a real gives its exact `numb`. Zero (of either sign) and NaN
//   give the `numb` zero "00"; an infinity gives plus or minus 2^1024, the
//   first power of two past the largest double, so converting it back with
//   `real` gives the same infinity again.
// - `lits` of a number toggles its form: a text becomes the one-step list
//   form (J flag tail), the tail being the number text of the remaining
//   bits as the number head gives it; a list form becomes its canonical
//   text. Applied twice it gives back the canonical text.
#include <cmath>
#include <cstdlib>
#include <string>

#include "builtins/families.h"
#include "builtins/inspect/lists.h"
#include "builtins/inspect/support.h"
#include "values/int_convert.h"
#include "values/numb.h"
#include "values/number_bits.h"
#include "values/operand.h"
#include "values/value_class.h"

namespace mox {

namespace {

std::string_view PayloadView(const Cell* blob) {
  BlobView b = BlobPayload(blob);
  return {reinterpret_cast<const char*>(b.data), static_cast<size_t>(b.size)};
}

CellRef ToReal(Cell* a) {
  uint64_t bits;
  if (ReadBitList(a, &bits)) return RealFromBits(bits);
  Operand op;
  ReadOperand(a, &op);
  switch (op.cls) {
    case ValueClass::kReal: return CellRef::Share(a);
    case ValueClass::kInteger:
    case ValueClass::kNumb: return MakeReal(OperandDouble(op));
    case ValueClass::kBlob: {
      std::string payload(PayloadView(a));  // strtod stops at a NUL byte
      return MakeReal(std::strtod(payload.c_str(), nullptr));
    }
    case ValueClass::kText: {
      std::string scratch;
      std::string_view content;
      if (!SequenceBytes(op, &scratch, &content)) return CellRef();
      std::string text(content);
      return MakeReal(std::atof(text.c_str()));
    }
    default: return CellRef();
  }
}

CellRef ToBlob(Cell* a) {
  Operand op;
  ReadOperand(a, &op);
  switch (op.cls) {
    case ValueClass::kBlob: return CellRef::Share(a);
    case ValueClass::kReal: return MakeBlob(a->Bytes() + 1, 8);
    case ValueClass::kInteger: {
      auto low = static_cast<unsigned char>(OperandCount(op) & 0xFF);
      return MakeBlob(&low, 1);
    }
    case ValueClass::kText: {
      std::string scratch;
      std::string_view content;
      if (!SequenceBytes(op, &scratch, &content)) return CellRef();
      return MakeBlob(content.data(), content.size());
    }
    case ValueClass::kVoid: {
      std::string bytes;
      if (!ReadByteList(a, &bytes)) return CellRef();
      return MakeBlob(bytes.data(), bytes.size());
    }
    default: return CellRef();
  }
}

// The exact `numb` of a double (see the decisions above for the rest).
CellRef RealToNumb(double d) {
  Numb n;
  if (std::isnan(d) || d == 0.0) return MakeLeaf("00", 2);
  if (std::isinf(d)) {
    mpz_set_ui(n.mantissa.z, 1);
    mpz_mul_2exp(n.mantissa.z, n.mantissa.z, 1024);
  } else {
    int e;
    double m = std::frexp(std::fabs(d), &e);  // |d| = m * 2^e, m in [0.5, 1)
    mpz_set_d(n.mantissa.z, std::ldexp(m, 53));  // an integer below 2^53
    e -= 53;
    if (e >= 0) {
      mpz_mul_2exp(n.mantissa.z, n.mantissa.z, static_cast<mp_bitcnt_t>(e));
    } else {
      mp_bitcnt_t shift = mpz_scan1(n.mantissa.z, 0);
      if (shift > static_cast<mp_bitcnt_t>(-e)) shift = static_cast<mp_bitcnt_t>(-e);
      mpz_tdiv_q_2exp(n.mantissa.z, n.mantissa.z, shift);
      n.scale = static_cast<uint64_t>(-e) - shift;
    }
  }
  if (std::signbit(d)) mpz_neg(n.mantissa.z, n.mantissa.z);
  return NumbLeaf(n);
}

// The first eight bytes, little-endian and zero-padded, as a signed number.
CellRef LowWord(std::string_view bytes) {
  uint64_t v = 0;
  for (size_t i = 0; i < bytes.size() && i < 8; ++i) v |= uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
  return MakeInt64(static_cast<int64_t>(v));
}

CellRef ToggleNumberForm(Operand& op) {
  if (op.cell->IsApp()) return std::move(op.hold);  // the list's text form
  CellRef tail;
  bool integer = SplitNumberText(op.text, &tail);
  return MakeApp(MakeLetter('J'), MakeTruth(integer), std::move(tail));
}

CellRef ToNumber(Cell* a) {
  Operand op;
  ReadOperand(a, &op);
  switch (op.cls) {
    case ValueClass::kReal: return RealToNumb(RealValue(a));
    case ValueClass::kBlob:
    case ValueClass::kText: {
      std::string scratch;
      std::string_view bytes;
      if (!SequenceBytes(op, &scratch, &bytes)) return CellRef();
      return LowWord(bytes);
    }
    case ValueClass::kInteger:
    case ValueClass::kNumb: return ToggleNumberForm(op);
    default: return CellRef();
  }
}

CellRef Real(const NativeArgs<1>& a) { return ToReal(a[0]); }

CellRef Init(const NativeArgs<1>& a) { return ToBlob(a[0]); }

CellRef Lits(const NativeArgs<1>& a) { return ToNumber(a[0]); }

constexpr BuiltinBinding kConversionBuiltins[] = {
    Builtin<Real>("real"),
    Builtin<Init>("init"),
    Builtin<Lits>("lits"),
};

}  // namespace

BuiltinFamily ConversionBuiltins() { return kConversionBuiltins; }

}  // namespace mox
