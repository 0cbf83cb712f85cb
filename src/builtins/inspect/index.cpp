// look and cork: one element (child, byte or bit) of a value read, or
// replaced in a copy.
//
// Decisions of this system beyond the class rules:
// - `look` of an empty vector slot is "Z": there is no value to give.
// - `cork` of a blob replaces one payload byte, like a bracketed text but
//   without the bracket rule (a blob's bytes have no structure).
// - `cork` of a number may set a bit above its top bit (the bit string is
//   unbounded and reads as clear there), up to bit 2^32. Every bit form but
//   a "negative zero" (the negative sign with no magnitude bit) has a text;
//   that one answers "Z".
// - `cork` of a vector writes into the given vector itself when nothing
//   else holds it (the redex is its only holder), which makes a loop of
//   writes into a fresh vector cost O(1) each; otherwise it copies, and the
//   other holders keep seeing the vector unchanged.
#include <string>

#include "builtins/families.h"
#include "builtins/inspect/support.h"
#include "values/int_convert.h"
#include "values/mpz_text.h"
#include "values/number_bits.h"
#include "values/operand.h"
#include "values/text_elements.h"

namespace mox {

namespace {

constexpr uint64_t kMaxNumberBit = uint64_t{1} << 32;

// The bit index n of a number whose bit form is `length` bits long: a
// negative n counts back from the length.
bool NumberBitIndex(int64_t n, uint64_t length, uint64_t* index) {
  if (n < 0) return ResolveIndex(n, length, index);
  *index = static_cast<uint64_t>(n);
  return true;
}

CellRef Look(const NativeArgs<2>& args) {
  Cell* a = args[0];
  Cell* b = args[1];
  int64_t n;
  if (!IntegerArgument(b, &n)) return CellRef();
  Operand op;
  ReadOperand(a, &op);
  uint64_t i;
  switch (op.cls) {
    case ValueClass::kVector: {
      if (!ResolveIndex(n, VectorSize(a), &i)) return CellRef();
      Cell* child = VectorSlot(a, i);
      return child != nullptr ? CellRef::Share(child) : CellRef();
    }
    case ValueClass::kBlob:
    case ValueClass::kText: {
      std::string scratch;
      std::string_view bytes;
      if (!SequenceBytes(op, &scratch, &bytes) || !ResolveIndex(n, bytes.size(), &i)) return CellRef();
      return MakeInt64(static_cast<unsigned char>(bytes[i]));
    }
    case ValueClass::kReal:
      if (!ResolveIndex(n, 64, &i)) return CellRef();
      return MakeTruth(((RealBits(a) >> i) & 1) != 0);
    case ValueClass::kInteger:
    case ValueClass::kNumb: {
      Mpz bits;
      OperandNumberBits(op, bits.z);
      if (!NumberBitIndex(n, mpz_sizeinbase(bits.z, 2), &i)) return CellRef();
      return MakeTruth(mpz_tstbit(bits.z, i) != 0);
    }
    default: return CellRef();
  }
}

bool IsBracket(unsigned char b) { return b == '[' || b == ']'; }

// A blob or bracketed text with byte n replaced by the byte value c; a text
// may not gain or lose a bracket.
CellRef CorkBytes(const Operand& op, int64_t n, Cell* c) {
  unsigned char value;
  std::string scratch;
  std::string_view bytes;
  uint64_t i;
  if (!ByteArgument(c, &value) || !SequenceBytes(op, &scratch, &bytes) || !ResolveIndex(n, bytes.size(), &i))
    return CellRef();
  bool text = op.cls == ValueClass::kText;
  if (text && (IsBracket(static_cast<unsigned char>(bytes[i])) || IsBracket(value))) return CellRef();
  std::string copy(bytes);
  copy[i] = static_cast<char>(value);
  return text ? MakeBracketed(copy) : MakeBlob(copy.data(), copy.size());
}

// redex = ((cork a) b) c holds the only reference to a.
bool RedexHoldsVectorAlone(const Cell* r) {
  return r->Count() == 1 && r->f->Count() == 1 && r->f->f->Count() == 1 && r->f->f->a->Count() == 1;
}

CellRef CorkVector(const Cell* redex, Cell* a, int64_t n, Cell* c) {
  uint64_t i, size = VectorSize(a);
  if (!ResolveIndex(n, size, &i)) return CellRef();
  if (RedexHoldsVectorAlone(redex)) {
    Retain(c);
    Release(VectorSlot(a, i));
    SetVectorSlot(a, i, c);
    return CellRef::Share(a);
  }
  CellRef v = MakeVector(size);
  for (uint64_t k = 0; k < size; ++k) {
    Cell* child = k == i ? c : VectorSlot(a, k);
    Retain(child);
    SetVectorSlot(v.get(), k, child);
  }
  return v;
}

CellRef CorkNumber(const Operand& op, int64_t n, Cell* c) {
  int set = TruthValue(c);
  if (set < 0) return CellRef();
  Mpz bits;
  OperandNumberBits(op, bits.z);
  uint64_t i;
  if (!NumberBitIndex(n, mpz_sizeinbase(bits.z, 2), &i) || i >= kMaxNumberBit) return CellRef();
  if (set == 1) {
    mpz_setbit(bits.z, i);
  } else {
    mpz_clrbit(bits.z, i);
  }
  // A clear sign bit with no magnitude bits is a "negative zero", which no
  // number text can hold.
  if (mpz_tstbit(bits.z, 1) == 0 && mpz_sizeinbase(bits.z, 2) <= 2) return CellRef();
  return NumberTextOfBits(bits.z);
}

CellRef CorkReal(Cell* a, int64_t n, Cell* c) {
  int set = TruthValue(c);
  uint64_t i;
  if (set < 0 || !ResolveIndex(n, 64, &i)) return CellRef();
  uint64_t bit = uint64_t{1} << i;
  return RealFromBits(set == 1 ? RealBits(a) | bit : RealBits(a) & ~bit);
}

CellRef Cork(const NativeArgs<3>& args) {
  Cell* a = args[0];
  Cell* c = args[2];
  int64_t n;
  if (!IntegerArgument(args[1], &n)) return CellRef();
  Operand op;
  ReadOperand(a, &op);
  switch (op.cls) {
    case ValueClass::kBlob:
    case ValueClass::kText: return CorkBytes(op, n, c);
    case ValueClass::kVector: return CorkVector(args.redex, a, n, c);
    case ValueClass::kInteger:
    case ValueClass::kNumb: return CorkNumber(op, n, c);
    case ValueClass::kReal: return CorkReal(a, n, c);
    default: return CellRef();
  }
}

constexpr BuiltinBinding kIndexBuiltins[] = {
    Builtin<Look>("look"),
    BuiltinOnRedex<Cork>("cork"),
};

}  // namespace

BuiltinFamily IndexBuiltins() { return kIndexBuiltins; }

}  // namespace mox
