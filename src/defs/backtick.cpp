// The backtick rewrite; see backtick.h.
#include "defs/backtick.h"

#include <algorithm>

#include "core/graph_fold.h"
#include "core/graph_walk.h"
#include "diag/render.h"
#include "eval/reducer.h"
#include "front/binders.h"
#include "program/analyse.h"

namespace mox {

namespace {

bool IsBacktickLeaf(const Cell* c) { return IsOneByteLeaf(c, '`'); }

uint32_t LineOf(const Cell* leaf, const BacktickStamps& stamps) {
  uint32_t line = stamps.LineOf(leaf);
  return line != 0 ? line : leaf->Field();
}

CellRef Bracketed(const Text& inside) { return MakeLeaf(Text("[") + inside + Text("]")); }

CellRef Replace(Cell* backtick, CellRef x, const Text& name, const BacktickStamps& stamps) {
  AnalyseCell(x.get());
  if (VariableSet(x.get()) == 0 && !IsLeafText(x.get(), "U")) return Evaluate(std::move(x));
  CellRef line = MakeLeaf(Text::FromInt64(LineOf(backtick, stamps)));
  CellRef shown = Bracketed(DisplayForm(x.get()));
  return MakeApp(MakeApp(MakeLeaf("U"), std::move(line), Bracketed(name), std::move(shown)), std::move(x));
}

}  // namespace

void TakeBacktickStamps(Cell* tree, BacktickStamps& stamps) {
  GraphWalk walk(tree);
  while (Cell* c = walk.Next()) {
    if (c->IsApp()) {
      walk.EnterParts(c);
    } else if (IsBacktickLeaf(c) && c->Field() != 0) {
      stamps.Take(c);
    }
  }
}

void BacktickStamps::Take(Cell* leaf) {
  MOX_ASSERT(!sealed_);
  stamps_.push_back({leaf, leaf->Field()});
  leaf->SetField(0);
}

void BacktickStamps::Seal() {
  // The array lives through the whole pass, while the sharing table takes
  // in the rewritten definitions: no room is held beyond the pairs.
  stamps_.shrink_to_fit();
  std::sort(stamps_.begin(), stamps_.end(), [](const Stamp& x, const Stamp& y) { return x.leaf < y.leaf; });
  sealed_ = true;
}

uint32_t BacktickStamps::LineOf(const Cell* leaf) const {
  MOX_ASSERT(sealed_);
  auto it = std::lower_bound(stamps_.begin(), stamps_.end(), leaf,
                             [](const Stamp& s, const Cell* c) { return s.leaf < c; });
  return it != stamps_.end() && it->leaf == leaf ? it->line : 0;
}

CellRef RewriteBackticks(Cell* tree, const Text& name, const BacktickStamps& stamps) {
  auto leaf = [](Cell* c) { return CellRef::Share(c); };
  auto app = [&](Cell* c, CellRef f, CellRef a) {
    if (IsBacktickLeaf(c->f)) return Replace(c->f, std::move(a), name, stamps);
    return KeepOrRebuild(c, std::move(f), std::move(a));
  };
  return RebuildBottomUp(tree, leaf, app);
}

}  // namespace mox
