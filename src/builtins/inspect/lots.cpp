// lots: a value as a J-list (J e0 (J e1 .. K)).
//
// - a real: its 64 bits as truth values (K set, H clear), bit 0 first;
// - an integer or `numb`: every bit of its bit form, bit 0 (the class) first,
//   up to its top set bit; this is the number's list form spelled out, so
//   arithmetic and `lits` read it back as the same number;
// - a blob or bracketed text: its bytes as integers 0..255, first byte first
//   (`init` turns such a list back into a blob);
// - a vector: its children in order, "Z" for an empty slot (the same list
//   the vector gives when applied to Z).
#include <gmp.h>

#include <string>

#include "builtins/families.h"
#include "builtins/inspect/lists.h"
#include "builtins/inspect/support.h"
#include "values/int_convert.h"
#include "values/mpz_text.h"
#include "values/operand.h"

namespace mox {

namespace {

template <typename Bit>
CellRef BitList(size_t n, Bit bit) {
  CellRef k = MakeLetter('K'), h = MakeLetter('H');
  return BuildList(n, [&](size_t i) { return bit(i) ? k.Copy() : h.Copy(); });
}

CellRef ByteList(std::string_view bytes) {
  CellRef values[256];  // one leaf per byte value in this list
  return BuildList(bytes.size(), [&](size_t i) {
    auto b = static_cast<unsigned char>(bytes[i]);
    if (!values[b]) values[b] = MakeInt64(b);
    return values[b].Copy();
  });
}

CellRef ChildList(const Cell* v) {
  return BuildList(VectorSize(v), [&](size_t i) {
    Cell* child = VectorSlot(v, i);
    return child != nullptr ? CellRef::Share(child) : MakeLetter('Z');
  });
}

CellRef Lots(const NativeArgs<1>& args) {
  Cell* a = args[0];
  Operand op;
  ReadOperand(a, &op);
  switch (op.cls) {
    case ValueClass::kReal: {
      uint64_t word = RealBits(a);
      return BitList(64, [word](size_t i) { return ((word >> i) & 1) != 0; });
    }
    case ValueClass::kInteger:
    case ValueClass::kNumb: {
      Mpz bits;
      OperandNumberBits(op, bits.z);
      return BitList(mpz_sizeinbase(bits.z, 2), [&bits](size_t i) { return mpz_tstbit(bits.z, i) != 0; });
    }
    case ValueClass::kBlob:
    case ValueClass::kText: {
      std::string scratch;
      std::string_view bytes;
      if (!SequenceBytes(op, &scratch, &bytes)) return CellRef();
      return ByteList(bytes);
    }
    case ValueClass::kVector: return ChildList(a);
    default: return CellRef();
  }
}

constexpr BuiltinBinding kLotsBuiltins[] = {
    Builtin<Lots>("lots"),
};

}  // namespace

BuiltinFamily LotsBuiltins() { return kLotsBuiltins; }

}  // namespace mox
