// The reduction loop: one step per iteration, each a bounded rewrite at the
// top of the machine state. Contraction of a saturated focus is in contract.cpp.
#include "eval/reducer.h"

#include <algorithm>
#include <string_view>

#include "core/interrupt.h"
#include "eval/machine.h"
#include "eval/head_cache.h"
#include "eval/operators.h"
#include "eval/strict.h"
#include "eval/substitute.h"
#include "program/analyse.h"

namespace mox {

namespace {
uint64_t steps = 0;

inline bool IsAnalysedValue(const Cell* c) {
  return c->IsData() || (!c->Flag() && c->AnalysisValue() >= 1);
}

constexpr int kMaxSpine = 16;

// The value in the focus applied to the arguments parked in the innermost
// frames, one by one: the same states as building (v a1), (v a1 a2), ...
// and reducing each, but without building the applications in between when
// the head is a builtin or a global. As in the one-by-one way, a strict
// head's arguments must be values: the first that is not becomes the focus,
// under a frame holding the values before it; a lazy head takes all it
// needs when enough are parked. False, with nothing changed, when the head
// is of another kind (the one-by-one way takes it).
bool ApplyParked(Machine& m) {
  Cell* v = m.focus.get();
  if (v->IsData()) return false;
  int d = v->AnalysisValue();  // 1..11: v is a value
  if (d >= kNoArity) return false;
  Cell* args[kMaxSpine];
  int j = 0;
  Cell* h = v;
  for (; h->IsApp(); h = h->f) {
    if (h->IsData() || j + d > kMaxSpine) return false;
    args[j++] = h->a;
  }
  if (!IsGlobalHeadLeaf(h)) return false;
  std::reverse(args, args + j);

  const Frame* top = m.frames.data() + m.frames.size() - 1;
  int limit = std::min<int>(d, static_cast<int>(m.frames.size()));
  int parked = 0;
  while (parked < limit && top[-parked].kind == FrameKind::kPark) ++parked;
  int values = 0;
  if (!(kLazyHeads.byte[h->Bytes()[0]] && parked == d)) {
    while (values < parked && IsValue(top[-values].cell)) ++values;
    if (values < d) {
      if (values == parked && values == 0) return false;
      // (v a1 .. ai) is a value; a(i+1), when parked, is reduced next.
      CellRef f = std::move(m.focus);
      for (int i = 0; i < values; ++i) f = MakeAnalysedApp(std::move(f), CellRef(m.Pop().cell));
      if (values == parked) {
        m.focus = std::move(f);
      } else {
        m.focus = CellRef(m.Pop().cell);
        m.PushOwned(FrameKind::kApply, std::move(f));
      }
      return true;
    }
  }
  // Saturated: a1 .. an are v's own arguments and d parked ones.
  for (int i = 0; i < d; ++i) args[j + i] = m.Pop().cell;  // their counts go to a redex, or are released below
  if (CallHead(m, h, args, j + d, ((1u << d) - 1) << j)) return true;
  for (int i = 0; i < d; ++i) Release(args[j + i]);
  return true;
}

// A lambda node in the focus with a value parked innermost: the step that
// would build their application, and Contract's lambda rule after it, at
// once. False, with nothing changed, for any other focus or argument.
bool ApplyParkedLambda(Machine& m) {
  Cell* v = m.focus.get();
  if (v->IsData() || v->AnalysisValue() != 1 || !IsLambdaNode(v) || !IsValue(m.frames.back().cell)) return false;
  CellRef x(m.Pop().cell);
  ApplyLambdas(m, v, x.get());
  return true;
}

// A truth value in the focus with two arguments parked innermost takes
// the one its definition selects, as instantiating K (or H, then I) would.
[[gnu::noinline]] void SelectBranch(Machine& m) {
  if (m.frames.size() < 2) return;
  const Frame* top = m.frames.data() + m.frames.size() - 1;
  if (top[0].kind != FrameKind::kPark || top[-1].kind != FrameKind::kPark) return;
  int b = TruthBranch(m.focus.get());
  if (b < 0) return;
  CellRef x(m.Pop().cell), y(m.Pop().cell);
  m.focus = b == 0 ? std::move(x) : std::move(y);
}

// An over-applied focus headed by such an operator, with at least as many
// arguments as its builtin's parameters, such as (- n 1) or (< n 1 x y):
// the state that parking the arguments, naming the definition and taking
// the parked arguments would reach, in one step. As there, the builtin's
// arguments are looked at from the left: when all are values the builtin
// is called (with the surplus arguments parked, and a truth value taking
// its branch at once; a comparison before its two branches answers a bool,
// and the branch is taken without parking either); otherwise the first
// that is not becomes the focus, under the builtin applied to the values
// before it, with the arguments after it parked. False, with nothing
// changed, for any other focus.
bool CallOperator(Machine& m, int d) {
  Cell* h = m.focus.get();
  int n = -d;
  if (n > 9) return false;  // seven parameters at most, then two branches
  Cell* args[9];
  for (int i = n; i-- > 0; h = h->f) {
    if (!h->IsApp() || h->IsData()) return false;
    args[i] = h->a;
  }
  const GlobalShape* g = BoundBuiltin(h);
  if (g == nullptr || g->builtin->arity > n) return false;
  int k = g->builtin->arity;
  int values = 0;
  while (values < k && IsValue(args[values])) ++values;
  if (values == k) {
    bool comparison = n == k + 2 && g->builtin->on_truth != nullptr;  // and its two branches
    bool yes = false;
    int b = comparison ? ComparisonBranch(g, args, &yes) : -1;
    if (b >= 0) {
      m.focus = CellRef::Share(args[k + b]);
      return true;
    }
    for (int i = n - 1; i >= k; --i) m.Push(FrameKind::kPark, args[i]);
    if (comparison) {
      m.focus = MakeTruth(yes);  // applied to the branches by the steps that follow
      return true;
    }
    // The builtin's arguments live in the old focus until it returns.
    if (CallBoundBuiltin(m, g, args) && n == k + 2) SelectBranch(m);
    return true;
  }
  for (int i = n - 1; i > values; --i) m.Push(FrameKind::kPark, args[i]);
  CellRef f = CellRef::Share(g->body);
  for (int i = 0; i < values; ++i) f = MakeAnalysedApp(std::move(f), CellRef::Share(args[i]));
  m.PushOwned(FrameKind::kApply, std::move(f));
  m.focus = CellRef::Share(args[values]);
  return true;
}

// A bare operator bound to a builtin of n parameters, with n values parked
// innermost (a body's top operator, its spine unwound by the template): the
// builtin called on them, and a truth value taking its branch at once.
// False, with nothing changed, otherwise.
bool CallParkedOperator(Machine& m, Cell* h) {
  const GlobalShape* g = BoundBuiltin(h);
  if (g == nullptr) return false;
  size_t n = g->builtin->arity;
  if (n == 0 || m.frames.size() < n) return false;
  Cell* args[7];
  for (size_t i = 0; i < n; ++i) {
    const Frame& f = m.frames[m.frames.size() - 1 - i];
    if (f.kind != FrameKind::kPark || !IsValue(f.cell)) return false;
    args[i] = f.cell;
  }
  m.frames.resize(m.frames.size() - n);  // their counts are released below
  bool going_on = CallBoundBuiltin(m, g, args);
  for (size_t i = 0; i < n; ++i) Release(args[i]);
  if (going_on) SelectBranch(m);
  return true;
}

bool AllValues(Cell* const* args, int n) {
  for (int i = 0; i < n; ++i)
    if (!IsValue(args[i])) return false;
  return true;
}

// The innermost pending body runs, on its arguments and the value.
[[gnu::noinline]] void ResumeBody(Machine& m) {
  m.frames.pop_back();
  PendingBody p = std::move(m.pending.back());  // the body may leave bodies pending itself
  m.pending.pop_back();
  Cell* args[kMaxParameters];  // each with the count the pending body held
  std::copy(m.pending_args.data() + p.base, m.pending_args.data() + p.base + p.n, args);
  m.pending_args.resize(p.base);
  CellRef v = std::move(m.focus);
  args[p.n] = v.get();
  RunInstance(m, *p.body, args);
  for (uint32_t i = 0; i < p.n; ++i) Release(args[i]);
  Release(p.scope);
}

// Hands the value in the focus to the innermost frame.
void Resume(Machine& m) {
  Frame& top = m.frames.back();
  if (top.kind == FrameKind::kStrict) return RunStrict(m);
  if (top.kind == FrameKind::kBody) return ResumeBody(m);
  if (top.kind == FrameKind::kApply) {  // F v is v parked for F
    Cell* f = top.cell;
    top = {FrameKind::kPark, m.focus.Leak()};
    m.focus = CellRef(f);
  }
  if (m.frames.back().kind == FrameKind::kPark && (ApplyParked(m) || ApplyParkedLambda(m))) return;
  Frame fr = m.Pop();
  CellRef held(fr.cell);
  switch (fr.kind) {
    case FrameKind::kPark:  // reduce  v a
      m.focus = MakeAnalysedApp(std::move(m.focus), std::move(held));
      break;
    case FrameKind::kApply:  // not reached: turned into a parked argument above
      m.focus = MakeAnalysedApp(std::move(held), std::move(m.focus));
      break;
    case FrameKind::kStrict:  // not reached: taken above
    case FrameKind::kBody:
      break;
    case FrameKind::kLet: {  // held is the let node ((({ x) y) z): reduce z[x := v]
      CellRef v = std::move(m.focus);
      m.focus = Substitute(held->a, LetVariable(held.get()), v.get());
      break;
    }
  }
}

// Reduces the function part F first (parking the last argument) or, when F
// is done, the last argument (remembering F).
void Descend(Machine& m, CellRef a, bool function_done) {
  Cell* f = a->f;
  Cell* x = a->a;
  if (function_done) {
    m.Push(FrameKind::kApply, f);
    m.focus = CellRef::Share(x);
  } else {
    m.Push(FrameKind::kPark, x);
    m.focus = CellRef::Share(f);
  }
}

// Whether f, the function part of a focus, is done: data, or holding no
// redex. An application that is not done is reduced first.
inline bool FunctionDone(const Cell* f) { return f->IsData() || !f->Flag(); }
inline bool PendingPart(const Cell* f) { return f->IsApp() && !FunctionDone(f); }

// A saturated focus whose function part holds a redex: Descend, and when
// its head is a global or a builtin, on down the spine in the same step
// while the function part still holds one (parking each argument), as the
// steps that follow would. A lazy head is left to those steps, where its
// partial application may take the parked arguments unreduced.
[[gnu::noinline]] void DescendSpine(Machine& m) {
  Cell* c = m.focus.get();
  Cell* h = c->f;
  while (h->IsApp() && !h->IsData()) h = h->f;
  if (!h->IsLeaf() || !IsGlobalHeadLeaf(h) || kLazyHeads.byte[h->Bytes()[0]]) return Descend(m, std::move(m.focus), false);
  do {
    m.Push(FrameKind::kPark, c->a);
    c = c->f;
  } while (PendingPart(c->f));
  CellRef held = std::move(m.focus);  // holds c until its parts are held
  Descend(m, CellRef::Share(c), FunctionDone(c->f));
}

// A saturated focus headed by a lazy combinator is contracted by the last
// rule of Contract, the instantiation of its definition: a lazy head's
// byte is none of the heads the earlier rules take. The spine is walked
// once, its arguments gathered in order from the back. False, with nothing
// changed, when the head is not lazy.
bool ContractLazy(Machine& m) {
  Cell* args[kMaxSpine];
  int i = kMaxSpine;
  Cell* h = m.focus.get();
  for (; h->IsApp() && !h->IsData(); h = h->f) {
    MOX_ASSERT(i > 0);
    args[--i] = h->a;
  }
  if (!h->IsLeaf() || !kLazyHeads.byte[h->Bytes()[0]]) return false;
  InstantiateGlobal(m, h, args + i, kMaxSpine - i);
  return true;
}

// A lazy combinator that still lacks d arguments takes them from parked
// frames, when the d innermost frames all hold parked arguments.
bool TakeParkedArguments(Machine& m, int d) {
  if (m.frames.size() < static_cast<size_t>(d)) return false;
  for (int i = 1; i <= d; ++i)
    if (m.frames[m.frames.size() - i].kind != FrameKind::kPark) return false;
  for (int i = 0; i < d; ++i) {
    Frame fr = m.Pop();
    m.focus = MakeAnalysedApp(std::move(m.focus), CellRef(fr.cell));
  }
  return true;
}

// A match's parameter x is a value whenever the global's arguments are
// (every head but the lazy combinators has them reduced first). Applied to
// c and then the lambda, a truth value that takes its first branch answers
// c, and a list cell gives the lambda its head and tail: B with the
// parameters and those two, run without building the lambda. False, with
// nothing changed, for any other x (data, a function of the program),
// which is applied to the lambda itself.
bool TakeMatch(Machine& m, const TemplateMatch& match, const Template& t, Cell* const* args) {
  Cell* x = args[match.scrutinee];
  if (!IsValue(x)) return false;
  if (x->AnalysisValue() == 2 && TruthBranch(x) == 0) {  // K's arity as x was analysed with it
    m.focus = BuildPart(t, match.otherwise, args);
    return true;
  }
  Cell* both[kMaxParameters];
  Cell** ht = both + t.arguments;
  // The lambda is a strict head: were h or t not values, it would wait for them.
  if (!ListParts(x, &ht[0], &ht[1]) || !IsValue(ht[0]) || !IsValue(ht[1])) return false;
  std::copy(args, args + t.arguments, both);
  CellRef held = std::move(m.focus);  // the arguments may be its parts
  RunInstance(m, *match.body, both);
  return true;
}

// A let's body runs on the arguments and the let's value, which y is
// reduced to first when it is not a value yet, under a body frame.
void RunLet(Machine& m, const Template& t, const TemplateLet& let, Cell* const* args) {
  CellRef y = BuildPart(t, let.bound, args);
  if (IsValue(y.get())) {
    Cell* all[kMaxParameters];
    std::copy(args, args + t.arguments, all);
    all[t.arguments] = y.get();
    CellRef held = std::move(m.focus);  // the arguments may be its parts
    return RunInstance(m, *let.body, all);
  }
  Hold(let.scope);
  m.pending.push_back({let.body, let.scope, static_cast<uint32_t>(m.pending_args.size()), static_cast<uint32_t>(t.arguments)});
  for (int i = 0; i < t.arguments; ++i) {
    Hold(args[i]);
    m.pending_args.push_back(args[i]);
  }
  m.frames.push_back({FrameKind::kBody, nullptr});
  m.focus = std::move(y);
}

}  // namespace

uint64_t ReductionSteps() { return steps; }

// A global whose body is a test, op c1 .. cn x y: when op is bound to a
// builtin of n parameters and c1 .. cn are values, the template's first
// step would call it. That call is made before anything is built, and when
// its answer is a truth value only the branch it takes is built: the other
// would be built, parked and dropped unread. Any other case runs the
// template whole. The builtin must be read-only: one that runs program code
// (load) could redefine this global and so recompile t under the call.
// With strict code for the branch taken, and arguments that are values
// (a lazy head's may not be), the branch runs as calls instead (strict.h).
void RunTest(Machine& m, const Template& t, Cell* const* args) {
  const GlobalShape* g = BoundBuiltin(t.table[t.focus]);
  int n = t.test.arity;
  if (g == nullptr || g->builtin->arity != n || !g->builtin->read_only) return RunTemplate(t, args, m);
  Cell* inputs[7];
  for (int i = 0; i < n; ++i) {
    inputs[i] = TemplateInput(t, t.parked[t.parked.size() - 1 - static_cast<size_t>(i)], args);
    if (!IsValue(inputs[i])) return RunTemplate(t, args, m);
  }
  CellRef held = std::move(m.focus);  // the arguments may be its parts
  int b;
  if (g->builtin->on_truth != nullptr) {  // a comparison: a truth leaf only if neither branch is known
    bool yes;
    b = ComparisonBranch(g, inputs, &yes);
    if (b < 0) m.focus = MakeTruth(yes);
  } else {
    if (!CallBoundBuiltin(m, g, inputs)) return;
    b = TruthBranch(m.focus.get());
  }
  if (b >= 0 && t.strict && !t.strict->calls[b].empty() && AllValues(args, t.arguments)) {
    m.focus = CellRef();
    return EnterStrict(m, *t.strict.get(), b, args);
  }
  if (b >= 0 && t.test.match[b].body && TakeMatch(m, t.test.match[b], t, args)) return;
  if (b >= 0 && t.test.let[b].body) return RunLet(m, t, t.test.let[b], args);
  RunBranch(t, args, b, m);
}

void RunBinding(Machine& m, const Template& t, Cell* const* args) {
  if (t.strict) {  // a body of calls
    if (!AllValues(args, t.arguments)) return RunTemplate(t, args, m);
    CellRef held = std::move(m.focus);  // the arguments may be its parts
    return EnterStrict(m, *t.strict.get(), 0, args);
  }
  if (!t.match.body) return RunLet(m, t, t.let, args);
  if (!TakeMatch(m, t.match, t, args)) RunTemplate(t, args, m);
}

void DropEvaluations() {
  for (Machine* m = Machine::innermost; m != nullptr; m = m->outer) {
    m->focus = CellRef();
    m->DropContinuation();
  }
}

CellRef Evaluate(CellRef expression) {
  Machine m;
  m.focus = std::move(expression);
  for (;;) {
    if (g_interrupted) [[unlikely]] {
      if (RunInterruptAction()) return MakeLeaf("Z", 1);  // the frames go with m
    }
    ++steps;
    Cell* a = m.focus.get();
    if (a == nullptr) {  // a strict activation has just been entered
      RunStrict(m);
      continue;
    }
    AnalyseCell(a);
    if (IsAnalysedValue(a)) {
      if (m.frames.empty()) return std::move(m.focus);
      Resume(m);
      continue;
    }
    int d = a->AnalysisValue();
    if (d < 0) {  // over-applied: park the surplus arguments, last first
      if (CallOperator(m, d)) continue;
      Cell* f = a;
      do {
        m.Push(FrameKind::kPark, f->a);
        f = f->f;
      } while (f->AnalysisValue() < 0 && !f->IsData());
      m.focus = CellRef::Share(f);
      continue;
    }
    if (d == 0) {
      if (a->IsLeaf() && IsGlobalHeadLeaf(a) && !(a->Bytes()[0] >= 'a' && a->Bytes()[0] <= 'z')) {
        if (!CallParkedOperator(m, a)) InstantiateGlobal(m, a, nullptr, 0);  // a bare name: an operator or a constant
      } else if (ContractLazy(m)) {
      } else if (!a->Flag()) {
        Contract(m);
      } else if (BinderOf(a) == Binder::kLet) {
        Cell* y = a->f->a;
        if (IsValue(y)) {
          Contract(m);
        } else {
          m.Push(FrameKind::kLet, a);
          m.focus = CellRef::Share(y);
        }
      } else if (PendingPart(a->f)) {
        DescendSpine(m);
      } else {
        Descend(m, std::move(m.focus), FunctionDone(a->f));
      }
      continue;
    }
    // A partial application that still holds a redex.
    if (HasLazyHead(a) && TakeParkedArguments(m, d)) {
      Contract(m);
      continue;
    }
    Descend(m, std::move(m.focus), IsValue(a->f));
  }
}

}  // namespace mox
