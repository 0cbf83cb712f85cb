// The builtins that work on cells as cells: raws (the very same cell?),
// cray (the one empty vector), leak and bond (a cell's address as an
// integer, and back), todo (c applied to a and b) and tern (the shared copy
// of a value).
#include "builtins/identity.h"

#include "builtins/int_convert.h"
#include "builtins/value_class.h"
#include "defs/builtin_bindings.h"

namespace mox {

namespace {

Cell* g_empty_vector = nullptr;

}  // namespace

CellRef EmptyVector() {
  if (g_empty_vector == nullptr) g_empty_vector = MakeVector(0).Leak();
  return CellRef::Share(g_empty_vector);
}

void ReleaseEmptyVector() {
  Release(g_empty_vector);
  g_empty_vector = nullptr;
}

namespace {

CellRef& RawsHandler(CellRef& out, CellRef redex) {
  out = MakeLeaf(NativeArg(redex, 2, 1) == NativeArg(redex, 2, 2) ? "K" : "H", 1);
  return out;
}

CellRef& CrayHandler(CellRef& out, CellRef) {
  out = EmptyVector();
  return out;
}

CellRef& LeakHandler(CellRef& out, CellRef redex) {
  out = MakeInt64(static_cast<int64_t>(reinterpret_cast<uintptr_t>(NativeArg(redex, 1, 1))));
  return out;
}

// The address must be that of a live cell; the program vouches for it. Only
// the null address, which can never be one, is refused.
CellRef& BondHandler(CellRef& out, CellRef redex) {
  Cell* a = NativeArg(redex, 1, 1);
  uintptr_t address = ClassifyValue(a) == 'i' ? static_cast<uintptr_t>(IntegerToInt64(a)) : 0;
  if (address == 0) return AnswerZ(out);
  out = CellRef::Share(reinterpret_cast<Cell*>(address));
  return out;
}

// todo a b c gives c a b; when c is this redex's own head leaf, the partial
// application todo a b is the answer, unchanged.
CellRef& TodoHandler(CellRef& out, CellRef redex) {
  Cell* c = redex->a;
  Cell* partial = redex->f;
  if (c == partial->f->f) {
    out = CellRef::Share(partial);
  } else {
    out = MakeApp(CellRef::Share(c), CellRef::Share(partial->f->a), CellRef::Share(partial->a));
  }
  return out;
}

constexpr NativeBinding kIdentity[] = {
    {"bond", BondHandler}, {"cray", CrayHandler}, {"leak", LeakHandler},
    {"raws", RawsHandler}, {"todo", TodoHandler},
};

}  // namespace

std::span<const NativeBinding> IdentityBindings() { return kIdentity; }

}  // namespace mox
