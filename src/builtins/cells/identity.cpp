// The builtins that work on cells as cells: raws (the very same cell?),
// cray (the one empty vector), leak and bond (a cell's address as an
// integer, and back), todo (c applied to a and b) and tern (the shared copy
// of a value).
#include "builtins/families.h"
#include "core/fault.h"
#include "program/sharing.h"
#include "values/int_convert.h"
#include "values/sequences.h"
#include "values/value_class.h"

namespace mox {

namespace {

// The run-long sharing table's representative: equal values given to tern
// come back as the very same cell.
CellRef Tern(const NativeArgs<1>& a) { return ShareValue(a[0]); }

CellRef Raws(const NativeArgs<2>& a) { return MakeTruth(a[0] == a[1]); }

CellRef Cray(const NativeArgs<0>&) { return EmptyVector(); }

CellRef Leak(const NativeArgs<1>& a) { return MakeInt64(static_cast<int64_t>(reinterpret_cast<uintptr_t>(a[0]))); }

// The address must be that of a live cell; the program vouches for it. Only
// the null address, which can never be one, is refused.
CellRef Bond(const NativeArgs<1>& a) {
  uintptr_t address = ClassifyValue(a[0]) == ValueClass::kInteger ? static_cast<uintptr_t>(IntegerToInt64(a[0])) : 0;
  if (address == 0) return CellRef();
  RawAccess raw(a.head);
  return CellRef::Share(reinterpret_cast<Cell*>(address));
}

// todo a b c gives c a b; when c is this redex's own head leaf, the partial
// application todo a b is the answer, unchanged.
CellRef Todo(const NativeArgs<3>& a) {
  Cell* partial = a.redex->f;
  if (a[2] == partial->f->f) return CellRef::Share(partial);
  return MakeApp(CellRef::Share(a[2]), CellRef::Share(a[0]), CellRef::Share(a[1]));
}

constexpr BuiltinBinding kIdentity[] = {
    ReadingBuiltin<Bond>("bond"),  Builtin<Cray>("cray"), ReadingBuiltin<Leak>("leak"),
    ReadOnlyBuiltin<Raws>("raws"), Builtin<Tern>("tern"), BuiltinOnRedex<Todo>("todo"),
};

}  // namespace

BuiltinFamily IdentityBuiltins() { return kIdentity; }

}  // namespace mox
