// The pair-let rewrite; see pair_let.h.
#include "defs/pair_let.h"

#include "core/graph_fold.h"
#include "core/graph_walk.h"
#include "front/binders.h"
#include "front/names.h"

namespace mox {

namespace {

bool IsNameLeaf(const Cell* c) { return c->IsLeaf() && IsDefinableName(LeafView(c)); }

bool IsPairLet(const Cell* c) {
  if (!IsLetNode(c)) return false;
  const Cell* pattern = LetVariable(c);
  return pattern->IsApp() && IsNameLeaf(pattern->f) && IsNameLeaf(pattern->a);
}

CellRef Let(const CellRef& brace, CellRef variable, CellRef value, CellRef body) {
  return MakeApp(brace.Copy(), std::move(variable), std::move(value), std::move(body));
}

// node = ((({ (p q)) y) z), already rebuilt.
CellRef ExpandPairLet(Cell* node) {
  CellRef brace = CellRef::Share(node->f->f->f);
  Cell* pattern = LetVariable(node);
  CellRef p = CellRef::Share(pattern->f);
  CellRef q = CellRef::Share(pattern->a);
  CellRef y = CellRef::Share(node->f->a);
  CellRef z = CellRef::Share(node->a);
  CellRef pair = MakeLeaf(GlobalKey(LeafView(pattern->a)));
  CellRef second = Let(brace, q.Copy(), MakeApp(pair.Copy(), MakeLeaf("H")), std::move(z));
  CellRef first = Let(brace, std::move(p), MakeApp(std::move(pair), MakeLeaf("K")), std::move(second));
  return Let(brace, std::move(q), std::move(y), std::move(first));
}

}  // namespace

CellRef RewritePairLets(Cell* tree) {
  // Most definitions have no pair let: a look spares them the rebuild.
  if (!SearchGraph(tree, IsPairLet)) return CellRef::Share(tree);
  auto leaf = [](Cell* c) { return CellRef::Share(c); };
  auto app = [](Cell* c, CellRef f, CellRef a) {
    CellRef node = KeepOrRebuild(c, std::move(f), std::move(a));
    if (!IsPairLet(node.get())) return node;
    return ExpandPairLet(node.get());
  };
  return RebuildBottomUp(tree, leaf, app);
}

}  // namespace mox
