// The reduction loop: one step per iteration, each a bounded rewrite at the
// top of the machine state. Contraction of a saturated focus is in contract.cpp.
#include "eval/reducer.h"

#include "core/interrupt.h"
#include "eval/machine.h"
#include "eval/substitute.h"
#include "program/analyse.h"

namespace mox {

namespace {
uint64_t steps = 0;

inline bool IsAnalysedValue(const Cell* c) {
  return c->IsData() || (!c->Flag() && c->AnalysisValue() >= 1);
}

// Hands the value v to the innermost frame.
void Resume(Machine& m, Cell* v) {
  Frame fr = m.Pop();
  CellRef value(v);
  CellRef held(fr.cell);
  switch (fr.kind) {
    case FrameKind::kPark:  // reduce  v a
      m.focus = MakeAnalysedApp(std::move(value), std::move(held));
      break;
    case FrameKind::kApply:  // reduce  F v
      m.focus = MakeAnalysedApp(std::move(held), std::move(value));
      break;
    case FrameKind::kLet: {  // held is the let node ((({ x) y) z): reduce z[x := v]
      m.focus = Substitute(held->a, LetVariable(held.get()), v);
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

}  // namespace

uint64_t ReductionSteps() { return steps; }

CellRef Evaluate(CellRef expression) {
  Machine m;
  m.focus = std::move(expression);
  for (;;) {
    if (g_interrupted) RunInterruptAction();
    ++steps;
    Cell* a = m.focus.get();
    AnalyseCell(a);
    if (IsAnalysedValue(a)) {
      if (m.frames.empty()) return std::move(m.focus);
      Resume(m, m.focus.Leak());
      continue;
    }
    int d = a->AnalysisValue();
    if (d < 0) {  // over-applied: park the surplus arguments, last first
      Cell* f = a;
      do {
        m.Push(FrameKind::kPark, f->a);
        f = f->f;
      } while (f->AnalysisValue() < 0 && !f->IsData());
      m.focus = CellRef::Share(f);
      continue;
    }
    if (d == 0) {
      if (HasLazyHead(a) || !a->Flag()) {
        Contract(m);
      } else if (BinderOf(a) == Binder::kLet) {
        Cell* y = a->f->a;
        if (IsValue(y)) {
          Contract(m);
        } else {
          m.Push(FrameKind::kLet, a);
          m.focus = CellRef::Share(y);
        }
      } else {
        Cell* f = a->f;
        Descend(m, std::move(m.focus), f->IsData() || !f->Flag());
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
