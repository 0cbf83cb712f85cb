// Place lists and renaming of local names; see rename.h.
#include "defs/rename.h"

#include "core/graph_fold.h"
#include "core/graph_walk.h"
#include "defs/references.h"
#include "front/binders.h"

namespace mox {

PlaceLists CollectPlaces(const Cell* tree) {
  PlaceLists lists;
  ConstGraphWalk walk(tree);
  auto note = [&](const Cell* v) {
    if (v->IsApp()) return;
    std::string_view name = LeafView(v);
    (IsLowerLetter(name) ? lists.single : lists.multi).emplace(name);
  };
  while (const Cell* c = walk.Next()) {
    if (c->IsLeaf()) continue;
    if (IsLambdaNode(c)) note(LambdaVariable(c));
    if (IsLetNode(c)) note(LetVariable(c));
    walk.EnterParts(c);
  }
  return lists;
}

CellRef RenameLocal(Cell* tree, std::string_view name, char letter) {
  CellRef letter_leaf = MakeLeaf(&letter, 1);
  auto leaf = [&](Cell* c) {
    return LeafView(c) == name ? letter_leaf.Copy() : CellRef::Share(c);
  };
  auto app = [&](Cell* c, CellRef f, CellRef a) {
    if (IsBinderHead(c) && c->a->IsLeaf()) {
      std::string_view variable = LeafView(c->a);
      if (variable != name) {
        Text shown = DisplayName(variable);
        if (shown.view() != variable) a = MakeLeaf(shown);
      }
    }
    return KeepOrRebuild(c, std::move(f), std::move(a));
  };
  return RebuildBottomUp(tree, leaf, app);
}

namespace {

bool NeedsOwnRebuild(std::string_view name) { return name[0] == '[' || DisplayName(name).view() != name; }

}  // namespace

CellRef RenameLocals(Cell* tree, const RenameList& renames) {
  if (renames.empty()) return CellRef::Share(tree);
  for (const Rename& r : renames) {
    if (!NeedsOwnRebuild(r.name)) continue;
    CellRef out = CellRef::Share(tree);
    for (const Rename& each : renames) out = RenameLocal(out.get(), each.name, each.letter);
    return out;
  }
  std::vector<CellRef> letters;
  for (const Rename& r : renames) letters.push_back(MakeLeaf(&r.letter, 1));
  // At most 26 names: a short search beats a map.
  auto find = [&](std::string_view text) -> const CellRef* {
    for (size_t i = 0; i < renames.size(); ++i)
      if (renames[i].name == text) return &letters[i];
    return nullptr;
  };
  auto leaf = [&](Cell* c) {
    const CellRef* letter = find(LeafView(c));
    return letter != nullptr ? letter->Copy() : CellRef::Share(c);
  };
  auto app = [&](Cell* c, CellRef f, CellRef a) {
    if (IsBinderHead(c) && c->a->IsLeaf()) {
      std::string_view variable = LeafView(c->a);
      if (find(variable) == nullptr) {
        Text shown = DisplayName(variable);
        if (shown.view() != variable) a = MakeLeaf(shown);
      }
    }
    return KeepOrRebuild(c, std::move(f), std::move(a));
  };
  return RebuildBottomUp(tree, leaf, app);
}

}  // namespace mox
