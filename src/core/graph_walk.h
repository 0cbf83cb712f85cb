// A pre-order walk over a cell graph, without host recursion, that enters an
// application held more than once only the first time it is met: a shared
// sub-graph is looked at once, so the walk costs time in proportion to the
// number of distinct cells. The caller decides which parts of a cell to
// enter, so searches can skip what they need not see.
#pragma once

#include <vector>

#include "core/cell.h"
#include "core/cell_hash.h"

namespace mox {

template <class C>  // Cell or const Cell
class GraphWalkOf {
 public:
  explicit GraphWalkOf(C* root) {
    stack_.reserve(64);  // most walks are of small definitions: no growing from one
    Enter(root);
  }

  // The next cell, or null when the walk is over.
  C* Next() {
    if (stack_.empty()) return nullptr;
    C* c = stack_.back();
    stack_.pop_back();
    return c;
  }
  // Queues c, unless it is a shared application entered before.
  void Enter(C* c) {
    if (c->IsApp() && c->Count() > 1 && !seen_.Insert(c)) return;
    stack_.push_back(c);
  }
  // Queues both parts of application c, to be met function part first.
  void EnterParts(C* c) {
    Enter(c->a);
    Enter(c->f);
  }

 private:
  std::vector<C*> stack_;
  CellSet seen_;
};

using GraphWalk = GraphWalkOf<Cell>;
using ConstGraphWalk = GraphWalkOf<const Cell>;

}  // namespace mox
