// Reference sets of definitions; see references.h.
#include "defs/references.h"

#include <algorithm>
#include <unordered_set>

#include "defs/binders.h"
#include "eval/analyse.h"
#include "front/charset.h"

namespace mox {

namespace {

struct Collector {
  std::unordered_set<std::string_view> names;
  std::unordered_set<std::string_view> bound;
  std::vector<const Cell*> stack;
  std::unordered_set<const Cell*> seen;  // applications held more than once, visited

  void Push(const Cell* c) {
    if (c->IsApp() && c->Count() > 1 && !seen.insert(c).second) return;
    stack.push_back(c);
  }
  void Bind(const Cell* variable) {
    if (variable->IsLeaf()) {
      bound.insert(LeafView(variable));
    } else {
      Push(variable);  // not a binder: its names are mentioned
    }
  }
  void Visit(const Cell* c) {
    if (c->IsLeaf()) {
      std::string_view text = LeafView(c);
      if (IsNameLeafText(text)) names.insert(text);
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

bool KeyLess(std::string_view a, std::string_view b) { return Text::Compare(a, b) < 0; }

}  // namespace

NameList CollectReferences(const Cell* tree) {
  Collector walk;
  walk.Push(tree);
  while (!walk.stack.empty()) {
    const Cell* c = walk.stack.back();
    walk.stack.pop_back();
    walk.Visit(c);
  }
  std::vector<std::string_view> free;
  for (std::string_view name : walk.names)
    if (walk.bound.count(name) == 0) free.push_back(name);
  std::sort(free.begin(), free.end(), KeyLess);
  return NameList(free.begin(), free.end());
}

Text DisplayName(std::string_view key) {
  if (key.size() == 1 && IsOperatorNameChar(static_cast<unsigned char>(key[0]))) {
    return Text("[") + Text(key) + Text("]");
  }
  return Text(key);
}

}  // namespace mox
