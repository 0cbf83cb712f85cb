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

// Taking a stamp clears it, so a leaf met twice is taken once, and a walk
// that gave up leaves the rest to the next.
template <class Walk>
void TakeStamps(Walk& walk, BacktickStamps& stamps) {
  while (Cell* c = walk.Next()) {
    if (c->IsApp()) {
      walk.EnterParts(c);
    } else if (IsBacktickLeaf(c) && c->Field() != 0) {
      stamps.Take(c);
    }
  }
}

}  // namespace

void TakeBacktickStamps(Cell* tree, BacktickStamps& stamps) {
  WalkQuicklyFirst(tree, [&](auto& walk) { TakeStamps(walk, stamps); });
}

void BacktickStamps::Take(Cell* leaf) {
  MOX_ASSERT(!sealed_);
  const uint32_t line = leaf->Field();
  const uint32_t handle = PoolHandle(leaf);
  if (handle != kNoHandle) near_.push_back(uint64_t{handle} << 32 | line);
  else far_.push_back({leaf, line});
  leaf->SetField(0);
}

void BacktickStamps::Seal() {
  near_.shrink_to_fit();
  far_.shrink_to_fit();
  std::sort(near_.begin(), near_.end());
  std::sort(far_.begin(), far_.end(), [](const Stamp& x, const Stamp& y) { return x.leaf < y.leaf; });
  sealed_ = true;
}

uint32_t BacktickStamps::LineOf(const Cell* leaf) const {
  MOX_ASSERT(sealed_);
  const uint32_t handle = PoolHandle(leaf);
  if (handle != kNoHandle) {
    auto it = std::lower_bound(near_.begin(), near_.end(), uint64_t{handle} << 32);
    return it != near_.end() && *it >> 32 == handle ? static_cast<uint32_t>(*it) : 0;
  }
  auto it = std::lower_bound(far_.begin(), far_.end(), leaf, [](const Stamp& s, const Cell* c) { return s.leaf < c; });
  return it != far_.end() && it->leaf == leaf ? it->line : 0;
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
