// Reading which branch a truth value takes from the current definitions.
#include "eval/operators.h"

namespace mox {

namespace {

// The parameter that a global's body is, when it is one (the last of its
// letter wins), or -1.
int ParameterBody(const GlobalShape* g) {
  const Cell* body = g->body;
  if (!body->IsLeaf() || !head_cache::IsOneByteName(body)) return -1;
  for (int i = g->k; i-- > 0;)
    if (g->letters[i] == body->Bytes()[0]) return i;
  return -1;
}

}  // namespace

int TruthBranch(Cell* r) {
  if (!r->IsLeaf() || !head_cache::IsOneByteName(r) || !IsGlobalHeadLeaf(r)) return -1;
  const GlobalShape* g = GlobalFor(r);
  if (g == nullptr) return -1;
  if (g->k == 2) return ParameterBody(g);
  Cell* then = g->body;  // read before the next lookup, which may refill a line
  if (g->k != 1 || ParameterBody(g) >= 0 || !then->IsLeaf() || !head_cache::IsOneByteName(then) || !IsGlobalHeadLeaf(then)) return -1;
  const GlobalShape* h = GlobalFor(then);
  return h != nullptr && h->k == 1 && ParameterBody(h) == 0 ? 1 : -1;
}

}  // namespace mox
