// Reference sets of definitions; see references.h.
#include "defs/references.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/graph_walk.h"
#include "core/hash.h"
#include "front/binders.h"
#include "front/charset.h"
#include "program/analyse.h"

namespace mox {

namespace {

// A set of names: the distinct ones in the order they were met, with an
// index of their places (open addressing, linear probing, at most half
// full). A definition mentions a few names many times over, so nearly every
// Add finds its name at once; in a shared program it is even the same leaf.
struct ViewSet {
  std::vector<std::string_view> items;
  std::vector<uint32_t> slots = std::vector<uint32_t>(16);  // place in items + 1; 0 when empty

  static bool Same(std::string_view a, std::string_view b) {
    return a.size() == b.size() && (a.data() == b.data() || std::memcmp(a.data(), b.data(), a.size()) == 0);
  }
  // The slot holding s, or the empty slot where it would go.
  size_t SlotOf(std::string_view s) const {
    const size_t mask = slots.size() - 1;
    size_t i = static_cast<size_t>(HashBytes(s)) & mask;
    while (slots[i] != 0 && !Same(items[slots[i] - 1], s)) i = (i + 1) & mask;
    return i;
  }
  void Add(std::string_view s) {
    const size_t i = SlotOf(s);
    if (slots[i] != 0) return;
    items.push_back(s);
    slots[i] = static_cast<uint32_t>(items.size());
    if (2 * items.size() > slots.size()) Grow();
  }
  bool Has(std::string_view s) const { return slots[SlotOf(s)] != 0; }
  // Empties the set, keeping its room unless a huge definition grew it.
  void Clear() {
    items.clear();
    if (slots.size() > 1024) {
      slots = std::vector<uint32_t>(16);
      items.shrink_to_fit();
    } else {
      std::fill(slots.begin(), slots.end(), 0);
    }
  }
  void Grow() {
    slots.assign(2 * slots.size(), 0);
    for (size_t k = 0; k < items.size(); ++k) slots[SlotOf(items[k])] = static_cast<uint32_t>(k + 1);
  }
};

// The two sets of a walk, kept from one walk to the next: a definition
// mentions a handful of names, and making their room afresh cost more than
// finding them.
ViewSet& KeptSet(int which) {
  static ViewSet sets[2];
  return sets[which];
}

template <class Walk>
struct Collector {
  explicit Collector(Walk& w) : walk(w) {}

  ViewSet& names = KeptSet(0);
  ViewSet& bound = KeptSet(1);
  Walk& walk;

  void Push(const Cell* c) { walk.Enter(c); }
  void Bind(const Cell* variable) {
    if (variable->IsLeaf()) {
      bound.Add(LeafView(variable));
    } else {
      Push(variable);  // not a binder: its names are mentioned
    }
  }
  void Visit(const Cell* c) {
    if (c->IsLeaf()) {
      std::string_view text = LeafView(c);
      if (IsNameLeafText(text)) names.Add(text);
    } else if (IsLambdaNode(c)) {
      Push(c->f->f);
      Bind(LambdaVariable(c));
      Push(c->a);
    } else if (IsLetNode(c)) {
      Push(c->f->f->f);
      Bind(LetVariable(c));
      Push(c->f->a);
      Push(c->a);
    } else {
      Push(c->a);
      Push(c->f);
    }
  }

  // The names met and not bound, once the walk is over, in key order
  // (string_view's own comparison is Text::Compare's); both sets are left
  // empty for the next walk.
  std::vector<std::string_view> Free() {
    std::vector<std::string_view> free;
    for (std::string_view name : names.items)
      if (!bound.Has(name)) free.push_back(name);
    std::sort(free.begin(), free.end());
    names.Clear();
    bound.Clear();
    return free;
  }
};

}  // namespace

std::vector<std::string_view> ReferenceViews(const Cell* tree) {
  // Meeting a shared part twice only meets its names twice.
  std::vector<std::string_view> free;
  WalkQuicklyFirst(tree, [&](auto& walk) {
    Collector collector(walk);
    while (const Cell* c = walk.Next()) collector.Visit(c);
    free = collector.Free();
  });
  return free;
}

NameList CollectReferences(const Cell* tree) {
  std::vector<std::string_view> views = ReferenceViews(tree);
  return NameList(views.begin(), views.end());
}

bool ShownInBrackets(std::string_view key) {
  return key.size() == 1 && IsOperatorNameChar(static_cast<unsigned char>(key[0]));
}

Text DisplayName(std::string_view key) {
  return ShownInBrackets(key) ? Text("[") + Text(key) + Text("]") : Text(key);
}

}  // namespace mox
