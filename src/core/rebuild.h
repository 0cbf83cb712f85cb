// Bottom-up rewriting of a cell graph without host recursion. The rewrite
// passes of the static checks (pair lets, renaming, backticks) all rebuild a
// definition from its leaves upwards and keep every unchanged sub-graph.
// A cell held more than once may be met again through another holder: its
// result is remembered, so a heavily shared graph costs time in proportion
// to its number of distinct cells, not to its unfolded size.
#pragma once

#include <unordered_map>
#include <vector>

#include "core/cell.h"

namespace mox {

// The application c itself when its parts came back unchanged, else a new
// application of the rebuilt parts.
inline CellRef KeepOrRebuild(Cell* c, CellRef f, CellRef a) {
  if (f.get() == c->f && a.get() == c->a) return CellRef::Share(c);
  return MakeApp(std::move(f), std::move(a));
}

// Rebuilds the graph under root. `leaf(Cell*) -> CellRef` gives a leaf's
// replacement (asked again at every meeting, so it must give equal
// answers); `app(Cell* c, CellRef f, CellRef a) -> CellRef` the replacement
// of application c whose function and argument parts were rebuilt to f and
// a (function part first). The graph must stay alive during the call; the
// callbacks may allocate and evaluate freely.
template <class LeafFn, class AppFn>
CellRef RebuildBottomUp(Cell* root, LeafFn&& leaf, AppFn&& app) {
  struct Step {
    Cell* cell;
    bool expanded;
  };
  std::vector<Step> todo{{root, false}};
  std::vector<CellRef> done;                  // results, innermost last
  std::unordered_map<Cell*, CellRef> memo;    // results of cells held more than once
  while (!todo.empty()) {
    Step step = todo.back();
    Cell* c = step.cell;
    if (!step.expanded) {
      if (c->Count() > 1 && !memo.empty()) {
        auto it = memo.find(c);
        if (it != memo.end()) {
          todo.pop_back();
          done.push_back(it->second.Copy());
          continue;
        }
      }
      if (c->IsLeaf()) {  // cheap to redo: leaves are not remembered
        todo.pop_back();
        done.push_back(leaf(c));
        continue;
      }
      todo.back().expanded = true;
      todo.push_back({c->a, false});
      todo.push_back({c->f, false});  // popped first: function part first
      continue;
    }
    todo.pop_back();
    CellRef a = std::move(done.back());
    done.pop_back();
    CellRef f = std::move(done.back());
    done.pop_back();
    bool shared = c->Count() > 1;  // before the result adds a holder
    done.push_back(app(c, std::move(f), std::move(a)));
    if (shared) memo.emplace(c, done.back().Copy());
  }
  MOX_ASSERT(done.size() == 1);
  return std::move(done.back());
}

}  // namespace mox
