// The list builtins: left (all but the last element), rght (the last
// element) and leaf (is the list empty?), for bracketed texts, data values
// and list views alike.
#include "builtins/families.h"
#include "values/lists.h"
#include "values/value_class.h"

namespace mox {

namespace {

CellRef Left(const NativeArgs<1>& a) { return ListInit(a[0]); }

CellRef Rght(const NativeArgs<1>& a) { return ListLast(a[0]); }

CellRef Leaf(const NativeArgs<1>& a) {
  Cell* list;
  if (IsDataValue(a[0])) return MakeTruth(IsLeafText(a[0], "[]"));
  if (ReadListView(a[0], &list)) return MakeTruth(list->First() == 'K');
  return CellRef();
}

constexpr BuiltinBinding kLists[] = {
    Builtin<Leaf>("leaf"),
    Builtin<Left>("left"),
    Builtin<Rght>("rght"),
};

}  // namespace

BuiltinFamily ListBuiltins() { return kLists; }

}  // namespace mox
