// The funky-key search; see funky.h.
#include "defs/funky.h"

#include "core/graph_walk.h"
#include "front/binders.h"
#include "front/names.h"

namespace mox {

CellRef FindFunkyKey(Cell* tree) {
  GraphWalk walk(tree);
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

}  // namespace mox
