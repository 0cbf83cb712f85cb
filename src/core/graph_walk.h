// A pre-order walk over a cell graph, without host recursion, that enters an
// application held more than once only the first time it is met: a shared
// sub-graph is looked at once, so the walk costs time in proportion to the
// number of distinct cells. The caller decides which parts of a cell to
// enter, so searches can skip what they need not see. A shared cell is
// marked as met when it is taken, not when it is queued, so a search meets
// cells in the order a walk of the tree would (queued as an argument, it
// may be met first inside the function part).
#pragma once

#include "core/cell.h"
#include "core/cell_hash.h"
#include "core/work_stack.h"

namespace mox {

template <class C>  // Cell or const Cell
class GraphWalkOf {
 public:
  explicit GraphWalkOf(C* root) { Enter(root); }

  // The next cell, or null when the walk is over.
  C* Next() {
    while (!stack_.empty()) {
      C* c = stack_.back();
      stack_.pop_back();
      if (c->IsApp() && c->Count() > 1 && !seen_.Insert(c)) continue;  // met before
      return c;
    }
    return nullptr;
  }
  // Queues c (a shared application met before is passed over when taken).
  void Enter(C* c) { stack_.push_back(c); }
  // Queues both parts of application c, to be met function part first.
  void EnterParts(C* c) {
    Enter(c->a);
    Enter(c->f);
  }

 private:
  WorkStack<C*> stack_;
  CellSet seen_;
};

using GraphWalk = GraphWalkOf<Cell>;
using ConstGraphWalk = GraphWalkOf<const Cell>;

// A walk with GraphWalk's interface over a graph as a tree: a shared
// sub-graph is entered once for each of its holders, and no cell is
// remembered. A definition as parsed is a tree, however the sharing table
// has merged its equal parts, and a pass over many small definitions would
// spend more on remembering their shared cells than on looking at them.
// Since a graph may have far more paths than cells, the walk gives up past
// `budget` cells, or on a tree deeper than its stack: Next then answers
// null, and Finished tells whether the whole tree was seen. A pass that
// can start again (or go on) with a GraphWalk tries this one first
// (WalkQuicklyFirst).
template <class C>  // Cell or const Cell
class TreeWalkOf {
 public:
  static constexpr size_t kQuickLook = 4096;

  explicit TreeWalkOf(C* root, size_t budget = kQuickLook) : budget_(budget) { Enter(root); }

  C* Next() {
    if (n_ == 0 || budget_ == 0) return nullptr;
    --budget_;
    return stack_[--n_];
  }
  void Enter(C* c) {
    if (n_ == kDepth) {
      budget_ = 0;  // too deep: given up
      return;
    }
    stack_[n_++] = c;
  }
  void EnterParts(C* c) {
    Enter(c->a);
    Enter(c->f);
  }
  bool Finished() const { return n_ == 0 && budget_ != 0; }

 private:
  static constexpr size_t kDepth = 256;
  C* stack_[kDepth];
  size_t n_ = 0;
  size_t budget_;
};

using TreeWalk = TreeWalkOf<Cell>;
using ConstTreeWalk = TreeWalkOf<const Cell>;

// Runs `pass`, a function of a walk, on a TreeWalk of root and, when that
// walk gave up, once more on a GraphWalk. The pass must come to the same
// result on either walk, whatever the first left half done.
template <class C, class Pass>
void WalkQuicklyFirst(C* root, Pass&& pass) {
  TreeWalkOf<C> quick(root);
  pass(quick);
  if (quick.Finished()) return;
  GraphWalkOf<C> full(root);
  pass(full);
}

// Whether some cell of the graph passes `test`, by a TreeWalk: unknown
// when the walk gave up first.
enum class TreeSearch { kFound, kAbsent, kUnknown };

template <class Test>
TreeSearch SearchAsTree(const Cell* root, Test&& test) {
  ConstTreeWalk walk(root);
  while (const Cell* c = walk.Next()) {
    if (test(c)) return TreeSearch::kFound;
    if (c->IsApp()) walk.EnterParts(c);
  }
  return walk.Finished() ? TreeSearch::kAbsent : TreeSearch::kUnknown;
}

// Whether some cell of the graph passes `test`: a TreeWalk's look first,
// then, when that gave up, a GraphWalk. A pass that rebuilds a definition
// only where some cell needs it asks this first: on a generated expression
// of millions of cells the walk costs a fraction of the rebuild.
template <class Test>
bool SearchGraph(const Cell* root, Test&& test) {
  const TreeSearch quick = SearchAsTree(root, test);
  if (quick != TreeSearch::kUnknown) return quick == TreeSearch::kFound;
  ConstGraphWalk walk(root);
  while (const Cell* c = walk.Next()) {
    if (test(c)) return true;
    if (c->IsApp()) walk.EnterParts(c);
  }
  return false;
}

}  // namespace mox
