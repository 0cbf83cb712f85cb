// The funky-key search; see funky.h.
#include "defs/funky.h"

#include "core/graph_walk.h"
#include "front/binders.h"
#include "front/names.h"

namespace mox {

namespace {

// The first funky key in pre-order, as in the definition's text. Both
// walks meet cells in that order (a GraphWalk passes over only the parts
// met before, where none was found), so the quick look and the walk it
// gives way to on a big definition find the same key.
template <class Walk>
CellRef Search(Walk& walk) {
  while (Cell* c = walk.Next()) {
    if (c->IsLeaf()) continue;
    if (IsLambdaNode(c)) {
      Cell* v = LambdaVariable(c);
      if (v->IsApp() || !IsDefinableName(LeafView(v))) return CellRef::Share(v);
      walk.Enter(c->a);
    } else {
      walk.EnterParts(c);
    }
  }
  return CellRef();
}

}  // namespace

CellRef FindFunkyKey(Cell* tree) {
  CellRef found;
  WalkQuicklyFirst(tree, [&](auto& walk) { found = Search(walk); });
  return found;
}

}  // namespace mox
