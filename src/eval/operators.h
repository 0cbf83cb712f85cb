// Operators bound to builtins, and truth values read from their
// definitions: the two facts that let the reducer call an operator in the
// step that meets it and take a branch without building the other.
#pragma once

#include <string_view>

#include "eval/head_cache.h"
#include "eval/machine.h"

namespace mox {

// The bytes of the operators a program writes infix, prefix or postfix; a
// name of another kind bound to a builtin goes the general way.
struct OperatorBytes {
  bool byte[256] = {};
  constexpr OperatorBytes() {
    for (char c : std::string_view("!\"#$%&'*+,-./:;<=>?@^`|~")) byte[static_cast<unsigned char>(c)] = true;
  }
};
inline constexpr OperatorBytes kOperatorBytes;

// The global of an operator leaf bound to a builtin that takes its
// arguments as they are (+ to plus), or null.
inline const GlobalShape* BoundBuiltin(Cell* h) {
  if (!h->IsLeaf() || !kOperatorBytes.byte[h->Bytes()[0]] || h->Bytes()[1] != 0) return nullptr;
  const GlobalShape* g = GlobalForByte(h->Bytes()[0]);
  if (g == nullptr || g->builtin == nullptr || !EmptyCallDefinitions().empty()) return nullptr;
  return g;
}

// Calls that builtin on args, as naming the operator's definition and
// applying it to args would; false when the answer ended the evaluation.
inline bool CallBoundBuiltin(Machine& m, const GlobalShape* g, Cell* const* args) {
  Cell* def = g->body;  // the builtin's name leaf
  Hold(def);  // a call that loads code may redefine the operator
  bool going_on = CallNativeOnArgs(m, *g->builtin, def, args);
  Release(def);
  return going_on;
}

// Calls the head h of a saturated spine on its arguments args[0..n)
// (values, borrowed: the caller holds them until it returns), as
// contracting  h a1 .. an  would: a builtin name first (builtin names
// cannot be shadowed), an operator bound to a builtin of n parameters,
// then the global h names. The caller may offer the counts it holds on the
// arguments of the set `owned` (bit i for args[i]): true when a redex took
// them over (the caller then no longer holds them).
[[gnu::always_inline]] inline bool CallHead(Machine& m, Cell* h, Cell* const* args, int n, uint32_t owned = 0) {
  if (h->Bytes()[0] >= 'a' && h->Bytes()[0] <= 'z') {
    if (const BuiltinEntry* entry = BuiltinFor(h)) {
      if (entry->on_args == nullptr) {
        CallNativeOnNewRedex(m, *entry, h, args, n, owned);
        return true;
      }
      CallNativeOnArgs(m, *entry, h, args);
      return false;
    }
  } else if (const GlobalShape* g = BoundBuiltin(h); g != nullptr && g->builtin->arity == n) {
    CallBoundBuiltin(m, g, args);
    return false;
  }
  InstantiateGlobal(m, h, args, n);
  return false;
}

// Which of two arguments a truth value takes when applied to both, read
// from its definition: 0 for the first (K a b = a), 1 for the second
// (H a = I, and I b = b), -1 when it is neither or not known.
int TruthBranch(Cell* r);
// The same for the one-byte leaf of byte r, which names a global when
// defined (a letter such as K or H).
int LetterBranch(unsigned char r);

// Whether the value v is a list cell  J h t: a global J applied to two
// arguments, where J's definition is  \a\b\c\V a b  and V's is
// \a\b\f\f a b  (the pair constructors of the prelude, by whatever
// one-byte names), so that v applied to any c and then to f gives  f h t.
// Reads h and t (borrowed from v) when it is. Only one-byte names are
// looked up, as for truth values: a lookup of a longer one could refill the
// head cache's line of the global whose template is running.
bool ListParts(Cell* v, Cell** h, Cell** t);

// A comparison (an operator g bound to a builtin with an on_truth entry)
// asked on args: its answer in *yes, and the branch that the truth value
// it stands for selects, -1 when neither (its leaf must then be made).
inline int ComparisonBranch(const GlobalShape* g, Cell* const* args, bool* yes) {
  *yes = g->builtin->on_truth(args);
  return LetterBranch(*yes ? 'K' : 'H');
}

}  // namespace mox
