// The backtick rewrite; see backtick.h.
#include "defs/backtick.h"

#include <algorithm>
#include <string_view>

#include "core/graph_fold.h"
#include "core/graph_walk.h"
#include "defs/references.h"
#include "diag/render.h"
#include "eval/reducer.h"
#include "front/binders.h"
#include "program/analyse.h"
#include "program/builtin_table.h"
#include "program/sharing.h"

namespace mox {

namespace {

uint32_t LineOf(const Cell* leaf, const BacktickStamps& stamps) {
  uint32_t line = stamps.LineOf(leaf);
  return line != 0 ? line : leaf->Field();
}

CellRef Bracketed(const Text& inside) { return MakeLeaf(Text("[") + inside + Text("]")); }

// (` x), x rewritten, for a backtick on line `at`. With `share_record`,
// the record's own cells come from the sharing table: a program shared as
// it was parsed has a record for each of its backticks, nearly all alike.
CellRef Replace(int64_t at, CellRef x, const Text& name, bool share_record) {
  AnalyseCell(x.get());
  if (VariableSet(x.get()) == 0 && !IsLeafText(x.get(), "U")) return Evaluate(std::move(x));
  CellRef line = MakeLeaf(Text::FromInt64(at));
  CellRef shown = Bracketed(DisplayForm(x.get()));
  CellRef record = MakeApp(MakeLeaf("U"), std::move(line), Bracketed(name), std::move(shown));
  if (share_record) record = ShareValue(record.get());
  return MakeApp(std::move(record), std::move(x));
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
    if (IsBacktickLeaf(c->f)) return Replace(LineOf(c->f, stamps), std::move(a), name, false);
    return KeepOrRebuild(c, std::move(f), std::move(a));
  };
  return RebuildBottomUp(tree, leaf, app);
}

void BacktickLineLists::Add(const Text& key, size_t begin, size_t end) {
  MOX_ASSERT(begin <= end && (entries_.empty() || begin >= entries_.back().end));
  entries_.push_back({key, static_cast<uint32_t>(begin), static_cast<uint32_t>(end)});
}

void BacktickLineLists::Seal(std::vector<int64_t> lines) {
  MOX_ASSERT(entries_.empty() || entries_.back().end <= lines.size());
  lines_ = std::move(lines);
  // In key order, and of each key in the order added, which that of their
  // lines is; the last of each key stays, moved down in place (a big
  // program has a hundred thousand, sealed at the peak of its start-up).
  std::sort(entries_.begin(), entries_.end(), [](const Entry& x, const Entry& y) {
    const int order = Text::Compare(x.key.view(), y.key.view());
    return order != 0 ? order < 0 : x.begin < y.begin;
  });
  size_t kept = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (i + 1 < entries_.size() && entries_[i + 1].key == entries_[i].key) continue;
    entries_[kept++] = std::move(entries_[i]);
  }
  entries_.resize(kept);
}

std::span<const int64_t> BacktickLineLists::Of(const Text& key) const {
  auto it = std::lower_bound(entries_.begin(), entries_.end(), key,
                             [](const Entry& e, const Text& k) { return TextOrder()(e.key, k); });
  if (it == entries_.end() || !(it->key == key)) return {};
  return std::span<const int64_t>(lines_).subspan(it->begin, it->end - it->begin);
}

namespace {

// A result of RewriteBackticksInOrder's fold, with the line of the backtick
// leaf it stands for (0: none).
struct Rewritten {
  CellRef cell;
  int64_t line = 0;
};

}  // namespace

template <>
inline constexpr bool kRelocatable<Rewritten> = true;

CellRef RewriteBackticksInOrder(Cell* tree, const Text& name, std::span<const int64_t> lines) {
  size_t met = 0;
  auto leaf = [&](Cell* c) {
    if (!IsBacktickLeaf(c)) return Rewritten{CellRef::Share(c)};
    MOX_ASSERT(met < lines.size());
    return Rewritten{CellRef::Share(c), lines[met++]};
  };
  auto app = [&](Cell* c, Rewritten f, Rewritten a) {
    if (f.line != 0) return Rewritten{Replace(f.line, std::move(a.cell), name, true)};
    return Rewritten{KeepOrRebuild(c, std::move(f.cell), std::move(a.cell))};
  };
  return FoldBottomUp<Rewritten, false>(tree, leaf, app).cell;
}

namespace {

// The builtins that backtick code may reach in a program shared as it was
// parsed: each writes no byte of any cell, leaves the sharing table alone
// and answers by the values of its arguments, save one case: a comparison
// finds a NaN equal to itself when both sides are the very same cell. But
// no literal of a program is a NaN: each is made by an evaluation, afresh,
// and the evaluated backticks are not shared before the sharing pass, so
// that a NaN is the same cell in both kinds of parse or in neither. Sorted.
constexpr std::string_view kBlindBuiltins[] = {
    "buck", "cent", "cmpr", "dash", "diff", "gteq", "less",
    "mult", "over", "plus", "powa", "rank", "same", "wave",
};

bool IsBlindBuiltin(std::string_view name) {
  return std::binary_search(std::begin(kBlindBuiltins), std::end(kBlindBuiltins), name);
}

// Calls see(x) for the expression x of every backtick application of the
// definition `value`, not looking inside x (whose own backticks it holds);
// maybe more than once for one x.
template <class See>
void ForEachBacktickExpression(const Cell* value, See&& see) {
  WalkQuicklyFirst(value, [&](auto& walk) {
    while (const Cell* c = walk.Next()) {
      if (!c->IsApp()) continue;
      if (IsBacktickLeaf(c->f)) {
        see(c->a);
      } else {
        walk.EnterParts(c);
      }
    }
  });
}

// Whether the backtick pass may change a definition, and with it maybe its
// number of parameters, while backticks are evaluated: one without
// parameters, unless a literal (an evaluation stores the value of such a
// global over its definition), or one whose parameters lead to a backtick
// (replaced by its value, which may bring more). A name leaf analysed
// before such a change, and shared by code evaluated after it, would keep
// the old number; and the lines of a program shared as parsed are kept by
// definition, in the order of its text.
bool MayChangeWhileEvaluated(const Cell* definition) {
  if (!IsLambdaNode(definition)) return !(definition->IsLeaf() && NeedsLengthField(definition->First()));
  while (IsLambdaNode(definition)) definition = definition->a;
  return definition->IsApp() && IsBacktickLeaf(definition->f);
}

}  // namespace

bool BackticksBlindToSharing(const GlobalTable& table, const GlobalTable& prelude) {
  NameSet reached;
  std::vector<Text> todo;
  auto reach = [&](const Text& name) {
    if (reached.insert(name).second) todo.push_back(name);
  };
  for (const auto& [key, value] : table)
    ForEachBacktickExpression(value.get(), [&](const Cell* x) {
      for (const Text& name : CollectReferences(x)) reach(name);
    });
  for (const GlobalTable* t : {&table, &prelude})
    for (const auto& [key, value] : *t)
      if (key.size() == 1) reach(key);
  while (!todo.empty()) {
    const Text name = std::move(todo.back());
    todo.pop_back();
    if (FindBuiltin(name.view()) != nullptr) {
      if (!IsBlindBuiltin(name.view())) return false;
      continue;
    }
    const CellRef* own = prelude.Find(name.view());
    const CellRef* definition = table.Find(name.view());
    const bool program_defines = definition != nullptr && (own == nullptr || definition->get() != own->get());
    if (program_defines && MayChangeWhileEvaluated(definition->get())) return false;
    for (const CellRef* d : {definition, own})
      if (d != nullptr)
        for (const Text& referred : CollectReferences(d->get())) reach(referred);
  }
  return true;
}

}  // namespace mox
