// The comparison builtins: less (<), gteq (>), same (=), diff (#) answer
// with a fresh truth leaf "K" or "H"; cmpr answers with the integer "1",
// "01" or "0" from the structural order. None of them can fail.
#include "builtins/families.h"
#include "values/structural_order.h"
#include "values/value_class.h"
#include "values/value_order.h"

namespace mox {

namespace {

bool Equal(Cell* a, Cell* b) { return a == b || ValueOrder(a, b) == Order::kEqual; }

bool Less(const NativeArgs<2>& a) { return ValueOrder(a[0], a[1]) == Order::kBelow; }

// Not below; but two reals must be ordered (a NaN answers "H" both ways).
// Unordered vectors (a NaN child decides) are not below, so they answer "K".
bool Gteq(const NativeArgs<2>& a) {
  Order order = ValueOrder(a[0], a[1]);
  bool real = ClassifyValue(a[0]) == ValueClass::kReal;
  return order == Order::kAbove || order == Order::kEqual || (order == Order::kUnordered && !real);
}

bool Same(const NativeArgs<2>& a) { return Equal(a[0], a[1]); }

bool Diff(const NativeArgs<2>& a) { return !Equal(a[0], a[1]); }

CellRef Cmpr(const NativeArgs<2>& a) {
  int order = StructuralOrder(a[0], a[1]);
  return order < 0 ? MakeLeaf("1", 1) : (order > 0 ? MakeLeaf("01", 2) : MakeLeaf("0", 1));
}

constexpr BuiltinBinding kComparison[] = {
    ReadOnlyBuiltin<Cmpr>("cmpr"), TruthBuiltin<Diff>("diff"), TruthBuiltin<Gteq>("gteq"),
    TruthBuiltin<Less>("less"), TruthBuiltin<Same>("same"),
};

}  // namespace

BuiltinFamily ComparisonBuiltins() { return kComparison; }

}  // namespace mox
