// Reference sets of definitions; see references.h.
#include "defs/references.h"

#include <algorithm>
#include <unordered_set>

#include "front/binders.h"
#include "front/charset.h"
#include "program/analyse.h"

namespace mox {

namespace {

bool KeyLess(std::string_view a, std::string_view b) { return Text::Compare(a, b) < 0; }

// A set of names kept as a vector that is sorted and thinned out whenever
// it has doubled, so that a huge definition that repeats a few names costs
// little memory and time.
struct ViewSet {
  std::vector<std::string_view> items;
  size_t compact_at = 64;

  void Add(std::string_view s) {
    items.push_back(s);
    if (items.size() >= compact_at) {
      Finish();
      compact_at = std::max<size_t>(64, 2 * items.size());
    }
  }
  void Finish() {
    std::sort(items.begin(), items.end(), KeyLess);
    items.erase(std::unique(items.begin(), items.end()), items.end());
  }
  bool Has(std::string_view s) const { return std::binary_search(items.begin(), items.end(), s, KeyLess); }
};

struct Collector {
  ViewSet names;
  ViewSet bound;
  std::vector<const Cell*> stack;
  std::unordered_set<const Cell*> seen;  // applications held more than once, visited

  void Push(const Cell* c) {
    if (c->IsApp() && c->Count() > 1 && !seen.insert(c).second) return;
    stack.push_back(c);
  }
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
};

}  // namespace

std::vector<std::string_view> ReferenceViews(const Cell* tree) {
  Collector walk;
  walk.Push(tree);
  while (!walk.stack.empty()) {
    const Cell* c = walk.stack.back();
    walk.stack.pop_back();
    walk.Visit(c);
  }
  walk.names.Finish();
  walk.bound.Finish();
  std::vector<std::string_view> free;
  for (std::string_view name : walk.names.items)
    if (!walk.bound.Has(name)) free.push_back(name);
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
