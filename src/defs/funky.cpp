// The funky-key search; see funky.h.
#include "defs/funky.h"

#include <unordered_set>
#include <vector>

#include "front/binders.h"
#include "front/names.h"

namespace mox {

CellRef FindFunkyKey(Cell* tree) {
  std::vector<Cell*> stack{tree};
  std::unordered_set<Cell*> seen;  // cells held more than once, already searched
  while (!stack.empty()) {
    Cell* c = stack.back();
    stack.pop_back();
    if (c->IsLeaf()) continue;
    if (c->Count() > 1 && !seen.insert(c).second) continue;
    if (IsLambdaNode(c)) {
      Cell* v = LambdaVariable(c);
      if (v->IsApp() || !IsDefinableName(LeafView(v))) return CellRef::Share(v);
      stack.push_back(c->a);
    } else {
      stack.push_back(c->a);
      stack.push_back(c->f);
    }
  }
  return CellRef();
}

}  // namespace mox
