// Reading which branch a truth value takes from the current definitions.
#include "eval/operators.h"

namespace mox {

int TruthBranch(Cell* r) {
  if (!r->IsLeaf() || !head_cache::IsOneByteName(r) || !IsGlobalHeadLeaf(r)) return -1;
  return LetterBranch(r->Bytes()[0]);
}

int LetterBranch(unsigned char r) {
  const GlobalShape* g = GlobalForByte(r);
  if (g == nullptr) return -1;
  if (g->k == 2) return g->parameter_body;
  Cell* then = g->body;  // read before the next lookup, which may refill a line
  if (g->k != 1 || g->parameter_body >= 0 || !then->IsLeaf() || !head_cache::IsOneByteName(then) || !IsGlobalHeadLeaf(then)) return -1;
  const GlobalShape* h = GlobalForByte(then->Bytes()[0]);
  return h != nullptr && h->k == 1 && h->parameter_body == 0 ? 1 : -1;
}

bool ListParts(Cell* v, Cell** h, Cell** t) {
  // The arities are also read from the leaves as they were analysed, as the
  // applications built on them are: cells made before a load that changed
  // them keep the arities they were made with.
  if (!v->IsApp() || v->IsData() || !v->f->IsApp() || v->f->IsData() || v->AnalysisValue() != 1) return false;
  Cell* j = v->f->f;
  if (!head_cache::IsByteGlobalName(j)) return false;
  const GlobalShape* g = GlobalForByte(j->Bytes()[0]);
  Cell* pair = g != nullptr ? g->pair_name : nullptr;  // read before the next lookup, which may refill a line
  if (pair == nullptr || !IsValue(pair) || pair->AnalysisValue() != 3) return false;
  g = GlobalForByte(pair->Bytes()[0]);
  if (g == nullptr || !g->pair) return false;
  *h = v->f->a;
  *t = v->a;
  return true;
}

}  // namespace mox
