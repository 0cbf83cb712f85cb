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

}  // namespace mox
