// The comparison builtins: less (<), gteq (>), same (=), diff (#) answer
// with a fresh truth leaf "K" or "H"; cmpr answers with the integer "1",
// "01" or "0" from the structural order. None of them can fail.
#include "builtins/structural_order.h"
#include "builtins/value_class.h"
#include "builtins/value_order.h"
#include "defs/builtin_bindings.h"

namespace mox {

namespace {

CellRef& Truth(CellRef& out, bool yes) {
  out = MakeLeaf(yes ? "K" : "H", 1);
  return out;
}

Cell* First(const CellRef& redex) { return NativeArg(redex, 2, 1); }
Cell* Second(const CellRef& redex) { return NativeArg(redex, 2, 2); }

bool Same(Cell* a, Cell* b) { return a == b || ValueOrder(a, b) == Order::kEqual; }

CellRef& LessHandler(CellRef& out, CellRef redex) {
  return Truth(out, ValueOrder(First(redex), Second(redex)) == Order::kBelow);
}

// Not below; but two reals must be ordered (a NaN answers "H" both ways).
// Unordered vectors (a NaN child decides) are not below, so they answer "K".
CellRef& GteqHandler(CellRef& out, CellRef redex) {
  Cell* a = First(redex);
  Order order = ValueOrder(a, Second(redex));
  bool real = ClassifyValue(a) == 'r';
  return Truth(out, order == Order::kAbove || order == Order::kEqual || (order == Order::kUnordered && !real));
}

CellRef& SameHandler(CellRef& out, CellRef redex) { return Truth(out, Same(First(redex), Second(redex))); }

CellRef& DiffHandler(CellRef& out, CellRef redex) { return Truth(out, !Same(First(redex), Second(redex))); }

CellRef& CmprHandler(CellRef& out, CellRef redex) {
  int order = StructuralOrder(First(redex), Second(redex));
  out = order < 0 ? MakeLeaf("1", 1) : (order > 0 ? MakeLeaf("01", 2) : MakeLeaf("0", 1));
  return out;
}

constexpr NativeBinding kComparison[] = {
    {"cmpr", CmprHandler}, {"diff", DiffHandler}, {"gteq", GteqHandler},
    {"less", LessHandler}, {"same", SameHandler},
};

}  // namespace

std::span<const NativeBinding> ComparisonBindings() { return kComparison; }

}  // namespace mox
