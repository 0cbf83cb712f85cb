// Place lists and renaming of local names; see rename.h.
#include "defs/rename.h"

#include "core/graph_fold.h"
#include "core/graph_walk.h"
#include "defs/references.h"
#include "front/binders.h"
#include "front/charset.h"

namespace mox {

namespace {

// The variable of a lambda or let node (null for any other cell): a place
// when it is a leaf.
const Cell* BinderVariable(const Cell* c) {
  if (IsLambdaNode(c)) return LambdaVariable(c);
  return IsLetNode(c) ? LetVariable(c) : nullptr;
}

// Meeting a shared part twice only notes its places twice.
template <class Walk>
PlaceLists Collect(Walk& walk) {
  PlaceLists lists;
  auto note = [&](const Cell* v) {
    if (v->IsApp()) {
      lists.only_names = false;
      return;
    }
    std::string_view name = LeafView(v);
    for (unsigned char b : name) lists.only_names = lists.only_names && IsNameChar(b);
    (IsLowerLetter(name) ? lists.single : lists.multi).emplace(name);
  };
  while (const Cell* c = walk.Next()) {
    if (c->IsLeaf()) {
      if (IsLowerLetter(LeafView(c))) lists.letters |= uint32_t{1} << (c->Bytes()[0] - 'a');
      continue;
    }
    if (const Cell* v = BinderVariable(c)) note(v);
    walk.EnterParts(c);
  }
  return lists;
}

}  // namespace

PlaceLists CollectPlaces(const Cell* tree) {
  PlaceLists lists;
  WalkQuicklyFirst(tree, [&](auto& walk) { lists = Collect(walk); });
  return lists;
}

bool MayHaveNamedPlaces(const Cell* tree) {
  return SearchGraph(tree, [](const Cell* c) {
    const Cell* v = BinderVariable(c);
    return v != nullptr && v->IsLeaf() && !IsLowerLetter(LeafView(v));
  });
}

RenameList PlaceRenames(const PlaceLists& lists) {
  uint32_t used = 0;
  for (const Text& letter : lists.single) used |= uint32_t{1} << (letter.First() - 'a');
  RenameList renames;
  for (const Text& name : lists.multi) {
    int free = 0;
    while ((used >> free) & 1) ++free;
    used |= uint32_t{1} << free;
    renames.push_back({name.view(), static_cast<char>('a' + free)});
  }
  return renames;
}

namespace {

// An application of a renaming rebuild, from its rebuilt parts: a binder
// whose variable is not renamed shows it as DisplayName does (an operator
// key in brackets).
template <class Renamed>
CellRef RebuildNode(Cell* c, CellRef f, CellRef a, Renamed&& renamed) {
  if (IsBinderHead(c) && c->a->IsLeaf()) {
    std::string_view variable = LeafView(c->a);
    if (!renamed(variable) && ShownInBrackets(variable)) a = MakeLeaf(DisplayName(variable));
  }
  return KeepOrRebuild(c, std::move(f), std::move(a));
}

}  // namespace

CellRef RenameLocal(Cell* tree, std::string_view name, char letter) {
  CellRef letter_leaf = MakeLeaf(&letter, 1);
  auto leaf = [&](Cell* c) {
    return LeafView(c) == name ? letter_leaf.Copy() : CellRef::Share(c);
  };
  auto app = [&](Cell* c, CellRef f, CellRef a) {
    return RebuildNode(c, std::move(f), std::move(a), [&](std::string_view v) { return v == name; });
  };
  return RebuildBottomUp(tree, leaf, app);
}

namespace {

bool NeedsOwnRebuild(std::string_view name) { return name[0] == '[' || ShownInBrackets(name); }

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
    return RebuildNode(c, std::move(f), std::move(a), [&](std::string_view v) { return find(v) != nullptr; });
  };
  return RebuildBottomUp(tree, leaf, app);
}

}  // namespace mox
