// Bottom-up folds over cell graphs, without host recursion. A fold computes
// one result per cell from the results of its parts: the rewrite passes of
// the static checks rebuild definitions this way (keeping every unchanged
// sub-graph), the sharing table finds representatives, and the builtins
// measure and convert data values.
//
// A cell held more than once may be met again through another holder: its
// result is remembered, so a heavily shared graph costs time in proportion
// to its number of distinct cells, not to its unfolded size.
#pragma once

#include <cstdint>
#include <utility>

#include "core/cell.h"
#include "core/cell_hash.h"
#include "core/work_stack.h"

namespace mox {

// How a result is duplicated when a shared cell is met again.
template <class T>
T FoldCopy(const T& v) {
  return v;
}
template <>
inline CellRef FoldCopy(const CellRef& v) {
  return v.Copy();
}

// The default: no application's result is known before its parts'.
struct NoShortcut {
  template <class T>
  bool operator()(Cell*, T*) const {
    return false;
  }
};

// Folds the graph under root. `leaf(Cell*) -> T` gives a leaf's result
// (asked again at every meeting, so it must give equal answers);
// `app(Cell* c, T f, T a) -> T` the result of application c from those of
// its function and argument parts (function part first); `shortcut(Cell* c,
// T* out) -> bool` may give an application's result before its parts are
// visited. The graph must stay alive during the call; the callbacks may
// allocate and evaluate freely.
//
// The work list holds one word per application on the path from the root
// to the cell being folded, the cell's address with its stage in the low
// bits (cells are 8-aligned): a graph nested ten million deep, such as a
// generated program's chain of operators, costs 80 MB of list, not the
// 240 MB that a list of pending parts would take.
//
// Without kRemember, a shared cell is folded anew at every meeting: the
// graph is folded as the tree it stands for, each result told apart by
// where it stands (the callbacks then see the leaves in the tree's order).
template <class T, bool kRemember = true, class LeafFn, class AppFn, class ShortcutFn = NoShortcut>
T FoldBottomUp(Cell* root, LeafFn&& leaf, AppFn&& app, ShortcutFn&& shortcut = {}) {
  enum : uintptr_t { kFresh = 0, kInFunction = 1, kInArgument = 2, kStages = 3 };
  auto entry = [](Cell* c, uintptr_t stage) { return reinterpret_cast<uintptr_t>(c) | stage; };
  WorkStack<uintptr_t> todo;
  todo.push_back(entry(root, kFresh));
  WorkStack<T> done;  // results, innermost last
  CellMap<T> memo;  // results of applications held more than once
  auto finish = [&](Cell* c, bool shared, T result) {
    if constexpr (kRemember) {
      if (shared) memo.Insert(c, FoldCopy(result));
    }
    done.push_back(std::move(result));
  };
  while (!todo.empty()) {
    uintptr_t& top = todo.back();
    Cell* c = reinterpret_cast<Cell*>(top & ~uintptr_t{kStages});
    switch (top & kStages) {
      case kInFunction:  // the function part is folded: the argument part next
        top = entry(c, kInArgument);
        todo.push_back(entry(c->a, kFresh));
        continue;
      case kInArgument: {  // both parts are folded
        todo.pop_back();
        T a = std::move(done.back());
        done.pop_back();
        T f = std::move(done.back());
        done.pop_back();
        bool shared = kRemember && c->Count() > 1;  // before the result may add a holder
        finish(c, shared, app(c, std::move(f), std::move(a)));
        continue;
      }
      default:
        break;
    }
    if (c->IsLeaf()) {  // cheap to redo: leaves are not remembered
      todo.pop_back();
      done.push_back(leaf(c));
      continue;
    }
    bool shared = kRemember && c->Count() > 1;
    if constexpr (kRemember) {
      if (shared && !memo.empty()) {
        if (const T* known = memo.Find(c)) {
          todo.pop_back();
          done.push_back(FoldCopy(*known));
          continue;
        }
      }
    }
    T known;
    if (shortcut(c, &known)) {
      todo.pop_back();
      finish(c, shared, std::move(known));
      continue;
    }
    top = entry(c, kInFunction);
    todo.push_back(entry(c->f, kFresh));  // function part first
  }
  MOX_ASSERT(done.size() == 1);
  return std::move(done.back());
}

// The application c itself when its parts came back unchanged, else a new
// application of the rebuilt parts.
inline CellRef KeepOrRebuild(Cell* c, CellRef f, CellRef a) {
  if (f.get() == c->f && a.get() == c->a) return CellRef::Share(c);
  return MakeApp(std::move(f), std::move(a));
}

// A fold whose results are cells: the graph rebuilt, `leaf` giving a leaf's
// replacement and `app` an application's (usually KeepOrRebuild).
template <class LeafFn, class AppFn>
CellRef RebuildBottomUp(Cell* root, LeafFn&& leaf, AppFn&& app) {
  return FoldBottomUp<CellRef>(root, leaf, app);
}

}  // namespace mox
