// The tight tiers of the parser: embedded affix operators cut a text into
// pieces, and each piece is a run of tokens joined by application, where a
// leading group is a parenthesised expression and a later one a call list
// whose arguments join the application chain one by one.
#include "front/charset.h"
#include "front/parse_machine.h"
#include "front/tokens.h"

namespace mox::parse {
namespace {

// Adds the arguments of the call list whose parentheses enclose [from, to).
void AddCallArguments(Machine& m, int64_t from, int64_t to) {
  int64_t start = from;
  for (int64_t i = from; i < to; ++i) {
    const unsigned char c = m.At(i);
    if (c == ',') {
      m.items.push_back(Item{ItemKind::kSub, start, i, 0});
      start = i + 1;
    }
    if (IsOpeningBracket(c)) i = m.Partner(i);
  }
  m.items.push_back(Item{ItemKind::kSub, start, to, 0});
}

// Appends the items of [from, to): the tokens before the first depth-zero
// affix run, then one item per affix run with the operand after it (up to
// the next run).
void CollectItems(Machine& m, int64_t from, int64_t to) {
  auto partner = [&m](int64_t i) { return m.Partner(i); };
  int64_t i = from;
  while (i < to && !IsAffixOperator(m.At(i))) {
    if (m.At(i) == '(') {
      const int64_t close = m.Partner(i);
      if (i == from) m.items.push_back(Item{ItemKind::kSub, i + 1, close, 0});
      else AddCallArguments(m, i + 1, close);
      i = close + 1;
      continue;
    }
    const int64_t end = TokenEnd(m.text, i, to, kClassAffix, partner);
    m.items.push_back(Item{ItemKind::kLeaf, i, end, 0});
    i = end;
  }
  while (i < to) {
    const int64_t run = i;
    while (IsAffixOperator(m.At(i))) ++i;
    const int64_t operand = i;
    for (; i < to && !IsAffixOperator(m.At(i)); ++i)
      if (IsOpeningBracket(m.At(i))) i = m.Partner(i);
    m.items.push_back(Item{ItemKind::kAffixed, run, operand, i});
  }
}

// Schedules the tree of one item into `slot`.
void EmitItem(Machine& m, const Item& item, int64_t slot) {
  switch (item.kind) {
    case ItemKind::kLeaf:
      m.Slot(slot) = m.Leaf(item.a, item.b);
      return;
    case ItemKind::kSub:
      m.Push(Job::kParse, slot, item.a, item.b, 0, 0, kAllTiers);
      return;
    case ItemKind::kAffixed:
      m.Push(Job::kWrap, slot, item.a, item.b, item.b, item.b);
      m.Push(Job::kCore, slot, item.b, item.c);
      return;
  }
}

}  // namespace

void RunCore(Machine& m, int64_t from, int64_t to, int64_t dest) {
  MOX_ASSERT(from < to);
  const int64_t ib = static_cast<int64_t>(m.items.size());
  CollectItems(m, from, to);
  const int64_t n = static_cast<int64_t>(m.items.size()) - ib;
  if (n == 1) {
    const Item only = m.items.back();
    m.items.pop_back();
    EmitItem(m, only, dest);
    return;
  }
  RunChain(m, Task{Job::kChain, 0, dest, m.ReserveSlots(n), ib, n, 0});
}

void RunChain(Machine& m, Task t) {
  const int64_t base = t.a, ib = t.b, n = t.c;
  while (t.d < n && m.items[static_cast<size_t>(ib + t.d)].kind == ItemKind::kLeaf) {
    const Item& leaf = m.items[static_cast<size_t>(ib + t.d)];
    m.Slot(base + t.d) = m.Leaf(leaf.a, leaf.b);
    ++t.d;
  }
  if (t.d < n) {
    const Item item = m.items[static_cast<size_t>(ib + t.d)];
    const int64_t slot = base + t.d;
    ++t.d;
    // After its last item the chain reads no more items: they go at once,
    // so that a call nested a million deep in its last argument, as in
    // f(1,f(1,...)), holds no items for the levels above it.
    if (t.d == n) m.items.resize(static_cast<size_t>(ib));
    m.tasks.push_back(t);
    EmitItem(m, item, slot);
    return;
  }
  CellRef tree = std::move(m.Slot(base));
  for (int64_t j = 1; j < n; ++j) tree = MakeApp(std::move(tree), std::move(m.Slot(base + j)));
  m.Slot(t.dest) = std::move(tree);
  m.slots.resize(static_cast<size_t>(base));
  m.items.resize(static_cast<size_t>(ib));
}

}  // namespace mox::parse
