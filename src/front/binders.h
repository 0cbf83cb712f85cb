// The two binding forms of the language and the scope rule they share.
//
// A lambda node ((\ v) z) binds the variable v in its body z; a let node
// ((({ v) y) z) binds v in z but not in y; the head of a let, (({ v) y),
// holds v only as the binder's name. Variables are single lower-case
// letters, handled as one-bit sets ('a' is bit 0). Every walk that follows
// free variables (cell analysis, substitution, instantiation templates)
// takes the scopes from ScopeOf, so the rule is written once.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/cell.h"

namespace mox {

enum class Binder : uint8_t { kNone, kLambda, kLetHead, kLet };

[[gnu::always_inline]] inline Binder BinderOf(const Cell* c) {
  if (c->IsLeaf() || c->f->IsLeaf()) return Binder::kNone;
  const Cell* g = c->f->f;
  if (g->IsApp()) return IsOneByteLeaf(g->f, '{') ? Binder::kLet : Binder::kNone;
  if (g->Bytes()[1] != 0) return Binder::kNone;
  if (g->Bytes()[0] == '\\') return Binder::kLambda;
  return g->Bytes()[0] == '{' ? Binder::kLetHead : Binder::kNone;
}

inline bool IsLambdaNode(const Cell* c) { return BinderOf(c) == Binder::kLambda; }
inline bool IsLetNode(const Cell* c) { return BinderOf(c) == Binder::kLet; }

// The variable of a lambda node or a let node (any cell; the checks look at it).
inline Cell* LambdaVariable(const Cell* c) { return c->f->a; }
inline Cell* LetVariable(const Cell* c) { return c->f->f->a; }

// c = (\ v) or ({ v): the application that holds a binder's variable.
inline bool IsBinderHead(const Cell* c) {
  return c->IsApp() && (IsOneByteLeaf(c->f, '\\') || IsOneByteLeaf(c->f, '{'));
}

// The letter a binder variable stands for, as a one-bit set (0 when v is
// not a leaf whose first byte is a lower-case letter).
inline uint32_t BoundLetter(const Cell* v) {
  if (v->IsApp()) return 0;
  unsigned char b = v->Bytes()[0];
  return (b >= 'a' && b <= 'z') ? uint32_t{1} << (b - 'a') : 0;
}

inline bool IsLowerLetter(std::string_view s) { return s.size() == 1 && s[0] >= 'a' && s[0] <= 'z'; }

// The scope rule. For each part of application c in which free variables
// occur, in order, calls visit(part, hidden) with the letters the node
// hides there:
//   lambda ((\ v) z):       z hiding v
//   let ((({ v) y) z):      y, then z hiding v
//   let head (({ v) y):     y
//   application (f a):      f, then a.
// Around the parts stays the kept part (KeptPart): the node is the kept
// part applied to its parts in turn.
template <class Visit>
[[gnu::always_inline]] inline void ForEachScopedPart(const Cell* c, Binder binder, Visit&& visit) {
  switch (binder) {
    case Binder::kNone:
      visit(c->f, 0);
      visit(c->a, 0);
      return;
    case Binder::kLambda: visit(c->a, BoundLetter(c->f->a)); return;
    case Binder::kLet:
      visit(c->f->a, 0);
      visit(c->a, BoundLetter(c->f->f->a));
      return;
    case Binder::kLetHead: visit(c->a, 0); return;
  }
}

// (\ v) of a lambda node, ({ v) of a let or let head; null otherwise.
inline Cell* KeptPart(const Cell* c, Binder binder) {
  switch (binder) {
    case Binder::kLambda:
    case Binder::kLetHead: return c->f;
    case Binder::kLet: return c->f->f;
    case Binder::kNone: break;
  }
  return nullptr;
}

// The same gathered into a record, for walks that keep their place.
struct Scope {
  int count = 0;
  Cell* part[2];
  uint32_t hidden[2];
  Cell* kept;
};

[[gnu::always_inline]] inline Scope ScopeOf(const Cell* c) {
  Scope s;
  Binder binder = BinderOf(c);
  ForEachScopedPart(c, binder, [&](Cell* part, uint32_t hidden) {
    s.part[s.count] = part;
    s.hidden[s.count++] = hidden;
  });
  s.kept = KeptPart(c, binder);
  return s;
}

// Leading lambda layers of a definition, counted up to limit.
inline int LeadingLambdas(const Cell* d, int limit) {
  int n = 0;
  for (; n < limit && IsLambdaNode(d); d = d->a) ++n;
  return n;
}

// The variables of the k lambdas leading d, as a template's parameter
// letters (the first byte of each, 0 for one that is no leaf), and their
// letters as a set; returns the body under them.
inline Cell* LambdaLetters(Cell* d, int k, unsigned char* letters, uint32_t* mask) {
  *mask = 0;
  for (int i = 0; i < k; ++i, d = d->a) {
    const Cell* v = LambdaVariable(d);
    letters[i] = v->IsLeaf() ? v->Bytes()[0] : 0;
    *mask |= BoundLetter(v);
  }
  return d;
}

}  // namespace mox
