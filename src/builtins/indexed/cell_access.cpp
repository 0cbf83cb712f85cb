// The families that read and write inside cells: rec and rel (checked) and
// red and rem (unchecked), on a bracketed text's content or a blob's
// payload. Writes change the cell in place, so every holder sees them.
//
// In-place writes never change a cell's length, kind byte or header: the
// length of a text comes from its length field, never from its brackets,
// so a text keeps its extent whatever bytes are written into its content.
// Texts whose brackets no longer pair up are read as they are by the rest
// of the interpreter (elements, display, shortening).
#include "builtins/indexed/workers.h"

#include "values/int_convert.h"

namespace mox {

namespace {

// The bytes a checked access reaches, or null: t of the target's kind, n an
// integer, a negative n counting from the end, the access wholly inside.
unsigned char* CheckedPlace(Cell* t, Cell* n, Target target, int width) {
  Span s;
  int64_t i;
  if (!TargetBytes(t, target, &s) || !IntegerArgument(n, &i)) return nullptr;
  if (i < 0) i += static_cast<int64_t>(s.size);  // a cell is far below 2^63 bytes
  if (i < 0 || !Inside(static_cast<uint64_t>(i), width, s.size)) return nullptr;
  return s.data + i;
}

// Whether writing v over the width bytes at p keeps the number of "]" bytes
// (a "]" more or less would change where the bracketed text ends).
bool KeepsClosers(const unsigned char* p, int width, uint64_t v) {
  int balance = 0;
  for (int k = 0; k < width; ++k) {
    balance += p[k] == ']';
    balance -= static_cast<unsigned char>(v >> (8 * k)) == ']';
  }
  return balance == 0;
}

// The unchecked families leave the range to the program. This interpreter
// guards it all the same: a target of another kind, or an access that would
// leave the content or payload, answers "Z" instead of reaching outside the
// cell. (Number leaves, names and vectors are never written: other parts
// rely on their bytes.) Within the content any byte may be written, "[" and
// "]" included.
unsigned char* UncheckedPlace(Cell* t, Cell* n, Target target, int width) {
  Span s;
  if (!TargetBytes(t, target, &s)) return nullptr;
  uint64_t i = MagnitudeArgument(n);
  return Inside(i, width, s.size) ? s.data + i : nullptr;
}

}  // namespace

CellRef CheckedRead(Cell* t, Cell* n, Target target, int width) {
  unsigned char* at = CheckedPlace(t, n, target, width);
  return at != nullptr ? MakeUint64(LoadBytes(at, width)) : CellRef();
}

// The "]" test comes before the store, so a refused write leaves the text
// untouched.
CellRef CheckedWrite(Cell* t, Cell* n, Cell* v, Target target, int width) {
  unsigned char* at = CheckedPlace(t, n, target, width);
  int64_t value;
  if (at == nullptr || !IntegerArgument(v, &value)) return CellRef();
  if (target == Target::kText && !KeepsClosers(at, width, static_cast<uint64_t>(value))) return CellRef();
  StoreBytes(at, width, static_cast<uint64_t>(value));
  return CellRef::Share(t);
}

CellRef UncheckedRead(Cell* t, Cell* n, Target target, int width) {
  unsigned char* at = UncheckedPlace(t, n, target, width);
  return at != nullptr ? MakeUint64(LoadBytes(at, width)) : CellRef();
}

CellRef UncheckedWrite(Cell* t, Cell* n, Cell* v, Target target, int width) {
  unsigned char* at = UncheckedPlace(t, n, target, width);
  if (at == nullptr) return CellRef();
  StoreBytes(at, width, MagnitudeArgument(v));
  return CellRef::Share(t);
}

}  // namespace mox
