// The structural order, walked with an explicit stack of cell pairs so that
// million-deep lists compare without host recursion. Function parts are
// compared (with everything below them) before argument parts.
//
// Values can share sub-graphs heavily (a chain of cells each applying the
// next one to itself has exponentially many paths); pairs of shared cells
// found equal are remembered so each such pair is walked once.
#include "values/structural_order.h"

#include <unordered_set>
#include <vector>

#include "core/text.h"

namespace mox {

namespace {

struct CellPair {
  const Cell* x;
  const Cell* y;
  bool operator==(const CellPair& o) const { return x == o.x && y == o.y; }
};

struct CellPairHash {
  size_t operator()(const CellPair& p) const {
    auto a = reinterpret_cast<uintptr_t>(p.x);
    auto b = reinterpret_cast<uintptr_t>(p.y);
    return static_cast<size_t>(a * 0x9E3779B97F4A7C15ULL ^ (b + (a >> 17)));
  }
};

// A pair is worth remembering only when both cells can be reached twice.
bool Shared(const CellPair& p) { return p.x->Count() > 1 && p.y->Count() > 1; }

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

int StructuralOrder(const Cell* a, const Cell* b) {
  struct Item {
    CellPair pair;
    bool done;  // both parts compared equal: remember the pair
  };
  std::vector<Item> stack{{{a, b}, false}};
  std::unordered_set<CellPair, CellPairHash> equal;
  while (!stack.empty()) {
    Item it = stack.back();
    stack.pop_back();
    const Cell* x = it.pair.x;
    const Cell* y = it.pair.y;
    if (it.done) {
      equal.insert(it.pair);
      continue;
    }
    if (x == y) continue;
    if (x->IsLeaf() != y->IsLeaf()) return x->IsLeaf() ? -1 : 1;
    if (x->IsLeaf()) {
      int order = Text::Compare(LeafView(x), LeafView(y));
      if (order != 0) return Sign(order);
      continue;
    }
    bool shared = Shared(it.pair);
    if (shared) {
      if (equal.count(it.pair) != 0) continue;
      stack.push_back({it.pair, true});
    }
    stack.push_back({{x->a, y->a}, false});
    stack.push_back({{x->f, y->f}, false});
  }
  return 0;
}

}  // namespace mox
