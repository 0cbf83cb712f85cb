// One pass over the parts of the body that hold a substituted variable (the
// cached variable sets say where); every rebuilt node is analysed on the
// spot from its already analysed parts. Shallow bodies, the common case, are
// walked by a recursion of bounded depth; below that depth the walk goes on
// with an explicit stack, so no body is too deep.
#include "eval/substitute.h"

#include <vector>

#include "program/analyse.h"

namespace mox {

namespace {

struct Job {
  Cell* c;
  uint32_t mask;
  char shape;     // 'o', 'u' or 'i' (see BinderShape)
  uint8_t stage;  // parts finished so far
};

}  // namespace

CellRef SubstituteDeep(Cell* body, uint32_t mask, Cell* const values[26]) {
  static auto& jobs = *new std::vector<Job>;
  static auto& done = *new std::vector<Cell*>;  // finished parts, each owning a count
  size_t job_base = jobs.size(), done_base = done.size();

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
      jobs.push_back({c, m, BinderShape(c), 0});
    }
  };
  auto take = [&]() {
    Cell* c = done.back();
    done.pop_back();
    return CellRef(c);
  };

  start(body, mask);
  while (jobs.size() > job_base) {
    Job& j = jobs.back();
    Cell* c = j.c;
    if (j.stage == 0) {
      j.stage = 1;
      // 'o': the function part; 'u' ((\ v) z): the body z; 'i' ((({ v) y) z): y.
      if (j.shape == 'o') start(c->f, j.mask);
      else if (j.shape == 'u') start(c->a, j.mask & ~BoundLetter(c->f->a));
      else start(c->f->a, j.mask);
      continue;
    }
    if (j.stage == 1 && j.shape != 'u') {
      j.stage = 2;
      // 'o': the argument part; 'i': z, unless v rebinds every letter there.
      uint32_t m = j.shape == 'o' ? j.mask : j.mask & ~BoundLetter(c->f->f->a);
      start(c->a, m);
      continue;
    }
    jobs.pop_back();
    CellRef rebuilt;
    if (j.shape == 'u') {
      CellRef z = take();
      rebuilt = MakeAnalysedApp(CellRef::Share(c->f), std::move(z));
    } else {
      CellRef second = take();
      CellRef first = take();
      if (j.shape == 'o') {
        if (first.get() == c->f && second.get() == c->a) {
          rebuilt = CellRef::Share(c);
        } else {
          rebuilt = MakeAnalysedApp(std::move(first), std::move(second));
        }
      } else {
        rebuilt = MakeAnalysedApp(MakeAnalysedApp(CellRef::Share(c->f->f), std::move(first)),
                                  std::move(second));
      }
    }
    done.push_back(rebuilt.Leak());
  }
  MOX_ASSERT(done.size() == done_base + 1);
  return take();
}

namespace {

constexpr int kRecursionBudget = 128;

// body analysed; returns the substituted body with its count.
CellRef SubstituteShallow(Cell* c, uint32_t mask, Cell* const values[26], int budget) {
  if ((VariableSet(c) & mask) == 0) return CellRef::Share(c);
  if (c->IsLeaf()) return CellRef::Share(values[c->Bytes()[0] - 'a']);
  if (budget == 0) return SubstituteDeep(c, mask, values);
  switch (BinderShape(c)) {
    case 'u':
      return MakeAnalysedApp(CellRef::Share(c->f),
                             SubstituteShallow(c->a, mask & ~BoundLetter(c->f->a), values, budget - 1));
    case 'i': {
      CellRef y = SubstituteShallow(c->f->a, mask, values, budget - 1);
      CellRef z = SubstituteShallow(c->a, mask & ~BoundLetter(c->f->f->a), values, budget - 1);
      return MakeAnalysedApp(MakeAnalysedApp(CellRef::Share(c->f->f), std::move(y)), std::move(z));
    }
    default: {
      CellRef f = SubstituteShallow(c->f, mask, values, budget - 1);
      CellRef a = SubstituteShallow(c->a, mask, values, budget - 1);
      if (f.get() == c->f && a.get() == c->a) return CellRef::Share(c);
      return MakeAnalysedApp(std::move(f), std::move(a));
    }
  }
}

}  // namespace

CellRef SubstituteMany(Cell* body, uint32_t mask, Cell* const values[26]) {
  AnalyseCell(body);
  return SubstituteShallow(body, mask, values, kRecursionBudget);
}

CellRef Substitute(Cell* body, Cell* value, unsigned char letter) {
  if (letter < 'a' || letter > 'z') return CellRef::Share(body);
  Cell* values[26];  // only the letters of the mask are read
  values[letter - 'a'] = value;
  return SubstituteMany(body, uint32_t{1} << (letter - 'a'), values);
}

}  // namespace mox
