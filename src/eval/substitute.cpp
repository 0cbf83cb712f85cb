// One pass over the parts of the body that hold a substituted variable (the
// cached variable sets say where); every rebuilt node is analysed on the
// spot from its already analysed parts. Shallow bodies, the common case, are
// walked by a recursion of bounded depth; below that depth the walk goes on
// with an explicit stack, so no body is too deep. Both walks take the
// binders' scopes from ScopeOf.
#include "eval/substitute.h"

#include <vector>

#include "program/analyse.h"

namespace mox {

namespace {

// The node of `scope` (taken from c) rebuilt around new parts; c itself
// when no part changed.
[[gnu::always_inline]] inline CellRef Rebuild(Cell* c, const Scope& scope, CellRef* parts) {
  bool same = true;
  for (int i = 0; i < scope.count; ++i) same = same && parts[i].get() == scope.part[i];
  if (same) return CellRef::Share(c);
  CellRef node = scope.kept != nullptr ? CellRef::Share(scope.kept) : std::move(parts[0]);
  for (int i = scope.kept != nullptr ? 0 : 1; i < scope.count; ++i)
    node = MakeAnalysedApp(std::move(node), std::move(parts[i]));
  return node;
}

struct Job {
  Cell* c;
  uint32_t mask;
  Scope scope;
  int next;  // parts started so far
};

}  // namespace

CellRef SubstituteDeep(Cell* body, uint32_t mask, Cell* const values[26]) {
  static auto& jobs = *new std::vector<Job>;
  static auto& done = *new std::vector<Cell*>;  // finished parts, each owning a count
  size_t job_base = jobs.size();

  // Either finishes c at once (no substituted variable inside, or c is one),
  // or queues it.
  auto start = [&](Cell* c, uint32_t m) {
    AnalyseCell(c);
    if ((VariableSet(c) & m) == 0) {
      Retain(c);
      done.push_back(c);
    } else if (c->IsLeaf()) {
      Cell* v = values[c->Bytes()[0] - 'a'];
      Retain(v);
      done.push_back(v);
    } else {
      jobs.push_back({c, m, ScopeOf(c), 0});
    }
  };

  start(body, mask);
  while (jobs.size() > job_base) {
    Job& j = jobs.back();
    if (j.next < j.scope.count) {
      int i = j.next++;
      start(j.scope.part[i], j.mask & ~j.scope.hidden[i]);  // may grow `jobs`: j is not used after
      continue;
    }
    Job finished = j;
    jobs.pop_back();
    CellRef parts[2];
    for (int i = finished.scope.count; i-- > 0;) {
      parts[i] = CellRef(done.back());
      done.pop_back();
    }
    done.push_back(Rebuild(finished.c, finished.scope, parts).Leak());
  }
  Cell* result = done.back();
  done.pop_back();
  return CellRef(result);
}

namespace {

constexpr int kRecursionBudget = 128;

// body analysed; returns the substituted body with its count.
CellRef SubstituteShallow(Cell* c, uint32_t mask, Cell* const values[26], int budget) {
  if ((VariableSet(c) & mask) == 0) return CellRef::Share(c);
  if (c->IsLeaf()) return CellRef::Share(values[c->Bytes()[0] - 'a']);
  if (budget == 0) return SubstituteDeep(c, mask, values);
  Binder binder = BinderOf(c);
  CellRef parts[2];
  int n = 0;
  ForEachScopedPart(c, binder, [&](Cell* part, uint32_t hidden) {
    parts[n++] = SubstituteShallow(part, mask & ~hidden, values, budget - 1);
  });
  Cell* kept = KeptPart(c, binder);
  if (kept == nullptr) {  // a plain application
    if (parts[0].get() == c->f && parts[1].get() == c->a) return CellRef::Share(c);
    return MakeAnalysedApp(std::move(parts[0]), std::move(parts[1]));
  }
  CellRef node = CellRef::Share(kept);
  for (int i = 0; i < n; ++i) node = MakeAnalysedApp(std::move(node), std::move(parts[i]));
  return node;
}

}  // namespace

CellRef SubstituteMany(Cell* body, uint32_t mask, Cell* const values[26]) {
  AnalyseCell(body);
  return SubstituteShallow(body, mask, values, kRecursionBudget);
}

CellRef SubstituteParameters(Cell* body, const unsigned char* letters, int k, uint32_t mask, Cell* const* args) {
  Cell* values[26];  // only the letters of the mask are read
  for (int i = 0; i < k; ++i) {
    unsigned char p = letters[i];
    if (p >= 'a' && p <= 'z') values[p - 'a'] = args[i];
  }
  return SubstituteMany(body, mask, values);
}

CellRef Substitute(Cell* body, const Cell* variable, Cell* value) {
  uint32_t letter = BoundLetter(variable);
  if (letter == 0) return CellRef::Share(body);
  Cell* values[26];  // only the letters of the mask are read
  values[__builtin_ctz(letter)] = value;
  return SubstituteMany(body, letter, values);
}

}  // namespace mox
