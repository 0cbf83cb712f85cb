// Recognising the two binding forms of a parsed definition: the lambda node
// ((\ v) body) and the let node ((({ v) y) z). Head leaves are compared by
// their whole text; the variable may be any cell (the checks look at it).
#pragma once

#include "core/cell.h"

namespace mox {

// c = ((\ v) body)
inline bool IsLambdaNode(const Cell* c) {
  return c->IsApp() && c->f->IsApp() && IsOneByteLeaf(c->f->f, '\\');
}

// c = ((({ v) y) z)
inline bool IsLetNode(const Cell* c) {
  return c->IsApp() && c->f->IsApp() && c->f->f->IsApp() && IsOneByteLeaf(c->f->f->f, '{');
}

// The variable of a lambda node or a let node.
inline Cell* LambdaVariable(const Cell* c) { return c->f->a; }
inline Cell* LetVariable(const Cell* c) { return c->f->f->a; }

// c = (\ v) or ({ v): the application that holds a binder's variable.
inline bool IsBinderHead(const Cell* c) {
  return c->IsApp() && (IsOneByteLeaf(c->f, '\\') || IsOneByteLeaf(c->f, '{'));
}

inline bool IsLowerLetter(std::string_view s) { return s.size() == 1 && s[0] >= 'a' && s[0] <= 'z'; }

}  // namespace mox
