// The contract between the reducer and every native builtin.
//
// A handler receives the saturated redex `name a1 .. an` (left-nested; the
// bare name leaf for n = 0), owns it, and stores its one result in `out`.
// Every argument is already a value with no free variables. A result of
// "Z" means "no meaningful result"; an application of an error-tag leaf
// ("]...") or a cycle-marker leaf (")...") ends the whole evaluation.
#pragma once

#include <cstdint>

#include "core/cell.h"

namespace mox {

using NativeHandler = CellRef& (*)(CellRef& out, CellRef redex);

// Argument i (1-based) of a redex with n arguments, borrowed: valid while
// the redex is held. a_n is the redex's argument part, a_(n-1) that of its
// function part, and so on.
inline Cell* NativeArg(const CellRef& redex, int n, int i) {
  Cell* c = redex.get();
  for (int k = n; k > i; --k) c = c->f;
  return c->a;
}

// The handler's answer: "Z".
inline CellRef& AnswerZ(CellRef& out) {
  out = MakeLeaf("Z", 1);
  return out;
}

}  // namespace mox
