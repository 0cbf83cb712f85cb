// Reference sets of definitions; see references.h.
#include "defs/references.h"

#include <algorithm>
#include <vector>

#include "core/graph_walk.h"
#include "front/binders.h"
#include "front/charset.h"
#include "program/analyse.h"

namespace mox {

namespace {

// A set of names kept as a vector that is sorted (by bytes, the order of
// Text::Compare, which string_view's own comparison gives inline) and
// thinned out whenever it has doubled, so that a huge definition that
// repeats a few names costs little memory and time. A name already in the
// sorted part is not added again: a long chain of one operator then sorts
// nothing.
struct ViewSet {
  std::vector<std::string_view> items;
  size_t sorted = 0;  // items[0..sorted) are sorted and distinct
  size_t compact_at = 64;

  void Add(std::string_view s) {
    if (std::binary_search(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(sorted), s)) return;
    items.push_back(s);
    if (items.size() >= compact_at) {
      Finish();
      compact_at = std::max<size_t>(64, 2 * items.size());
    }
  }
  void Finish() {
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    sorted = items.size();
  }
  bool Has(std::string_view s) const { return std::binary_search(items.begin(), items.end(), s); }
};

template <class Walk>
struct Collector {
  explicit Collector(Walk& w) : walk(w) {}

  ViewSet names;
  ViewSet bound;
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

  // The names met and not bound, once the walk is over.
  std::vector<std::string_view> Free() {
    names.Finish();
    bound.Finish();
    std::vector<std::string_view> free;
    for (std::string_view name : names.items)
      if (!bound.Has(name)) free.push_back(name);
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

Text DisplayName(std::string_view key) {
  if (key.size() == 1 && IsOperatorNameChar(static_cast<unsigned char>(key[0]))) {
    return Text("[") + Text(key) + Text("]");
  }
  return Text(key);
}

}  // namespace mox
