// trim a s e: the bytes or children of a blob, vector or bracketed text
// from position s up to (not including) e. A negative position counts from
// the end; s = e gives the empty value of the class.
//
// A slice of a bracketed text must be balanced on its own: read left to
// right, no "]" may close a "[" outside the slice and no "[" may stay open
// at its end. Slices thus hold whole nested groups (whole elements) only,
// and the answer is always a well-formed bracketed text.
#include <string>

#include "builtins/families.h"
#include "builtins/inspect/support.h"
#include "core/square_brackets.h"
#include "values/operand.h"
#include "values/sequences.h"
#include "values/text_elements.h"

namespace mox {

namespace {

// A position of trim: a negative one has the length added once.
bool ResolvePosition(int64_t p, uint64_t length, uint64_t* pos) {
  if (p >= 0) {
    *pos = static_cast<uint64_t>(p);
    return true;
  }
  uint64_t back = ~static_cast<uint64_t>(p) + 1;
  if (back > length) return false;
  *pos = length - back;
  return true;
}

CellRef SliceVector(const Cell* v, uint64_t s, uint64_t e) {
  CellRef slice = MakeVector(e - s);
  for (uint64_t k = s; k < e; ++k) {
    Cell* child = VectorSlot(v, k);
    Retain(child);
    SetVectorSlot(slice.get(), k - s, child);
  }
  return slice;
}

CellRef Trim(const NativeArgs<3>& args) {
  Cell* a = args[0];
  Cell* start = args[1];
  Cell* end = args[2];
  int64_t s0, e0;
  if (!IntegerArgument(start, &s0) || !IntegerArgument(end, &e0)) return CellRef();
  Operand op;
  ReadOperand(a, &op);
  if (op.cls != ValueClass::kBlob && op.cls != ValueClass::kVector && op.cls != ValueClass::kText) return CellRef();
  std::string scratch;
  std::string_view bytes;
  uint64_t length;
  if (op.cls == ValueClass::kVector) {
    length = VectorSize(a);
  } else {
    if (!SequenceBytes(op, &scratch, &bytes)) return CellRef();
    length = bytes.size();
  }
  uint64_t s, e;
  if (!ResolvePosition(s0, length, &s) || !ResolvePosition(e0, length, &e)) return CellRef();
  if (s != e && (e < s || e > length)) return CellRef();
  if (op.cls == ValueClass::kVector) return s == e ? EmptyVector() : SliceVector(a, s, e);
  std::string_view slice = s == e ? std::string_view() : bytes.substr(s, e - s);
  if (op.cls == ValueClass::kBlob) return MakeBlob(slice.data(), slice.size());
  if (!SquaresBalanced(slice)) return CellRef();
  return MakeBracketed(slice);
}

constexpr BuiltinBinding kTrimBuiltins[] = {
    Builtin<Trim>("trim"),
};

}  // namespace

BuiltinFamily TrimBuiltins() { return kTrimBuiltins; }

}  // namespace mox
