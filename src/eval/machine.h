// The reducer's state: the focus and the stack of continuation frames.
// Shared by the step loop (reducer.cpp) and the contraction rules.
#pragma once

#include <memory>
#include <vector>

#include "core/cell.h"
#include "core/work_stack.h"
#include "eval/head_cache.h"
#include "eval/strict.h"
#include "program/builtin_table.h"
#include "program/analyse.h"
#include "program/globals.h"

namespace mox {

enum class FrameKind : uint8_t {
  kPark,   // a surplus argument a: continue with  v a
  kApply,  // a function F whose last argument is being reduced: continue with  F v
  kLet,    // a let node whose bound expression is being reduced
  kStrict, // the innermost activation waits for the value (no cell)
  kBody,   // the innermost pending body waits for its let's value (no cell)
};

struct Frame {
  FrameKind kind;
  Cell* cell;  // owns one count
};

// A let's body compiled (TemplateLet) waiting for the let's value. The
// arguments it is to run on are the machine's pending_args[base, base + n),
// each holding a count, as does `scope`, which keeps the body's constants
// alive should its global be redefined meanwhile.
struct PendingBody {
  std::shared_ptr<const Template> body;
  Cell* scope;
  uint32_t base, n;
};

struct Machine {
  // The evaluations in progress, innermost first: a builtin may evaluate
  // (a load's backticks, say) while the evaluation that called it waits.
  static inline Machine* innermost = nullptr;
  Machine* const outer = innermost;

  CellRef focus;
  WorkStack<Frame> frames;
  std::vector<Activation> activations;  // one per strict frame, in order
  std::vector<PendingBody> pending;  // one per body frame, in order
  WorkStack<Cell*> pending_args;      // theirs
  // Theirs: those below register_top each hold a count or null; those above
  // are all null, so that an activation finds its registers cleared.
  std::vector<Cell*> registers;
  uint32_t register_top = 0;

  Machine() { innermost = this; }
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;
  ~Machine() {
    DropContinuation();
    innermost = outer;
  }

  [[gnu::always_inline]] void Push(FrameKind kind, Cell* c) {
    Hold(c);
    frames.push_back({kind, c});
  }
  [[gnu::always_inline]] void PushOwned(FrameKind kind, CellRef c) { frames.push_back({kind, c.Leak()}); }
  Frame Pop() {
    Frame f = frames.back();
    frames.pop_back();
    return f;
  }
  // The evaluation ends with the focus as its answer (an error or a cycle).
  void DropContinuation() {
    for (Frame& f : frames) Release(f.cell);
    frames.clear();
    while (!activations.empty()) PopActivation();
    for (PendingBody& p : pending) Release(p.scope);
    pending.clear();
    for (Cell* c : pending_args) Release(c);
    pending_args.clear();
  }
  // Drops the innermost activation and its registers (not its frame).
  void PopActivation() {
    const Activation& a = activations.back();
    for (size_t i = a.base; i < register_top; ++i) {
      Release(registers[i]);
      registers[i] = nullptr;
    }
    register_top = a.base;
    StrictRef::Drop(a.code);
    activations.pop_back();
  }
};

// Rewrites the saturated focus by the rule its head selects.
void Contract(Machine& m);

// The lambda node in the focus applied to the value x (borrowed, alive
// until the call returns), with the values parked for the lambdas in its
// body: what Contract does with the application of the two.
void ApplyLambdas(Machine& m, Cell* lambda, Cell* x);

// The rewrite of a builtin called with the redex in the focus.
void CallNative(Machine& m, const BuiltinEntry& entry);

// The cases of InstantiateGlobal that it does not settle inline; g is
// GlobalFor(head), which may be null.
void InstantiateShape(Machine& m, Cell* head, const GlobalShape* g, Cell* const* args, int n);

// Instantiates a global whose template is a test (t.test): see reducer.cpp.
void RunTest(Machine& m, const Template& t, Cell* const* args);

// Instantiates a global or lambda whose template is a match (t.match), a
// let (t.let) or strict code (t.strict): see reducer.cpp.
void RunBinding(Machine& m, const Template& t, Cell* const* args);

// Runs a compiled template on args (borrowed), by the shape of its body.
[[gnu::always_inline]] inline void RunInstance(Machine& m, const Template& t, Cell* const* args) {
  if (t.shaped) return t.test.arity != 0 ? RunTest(m, t, args) : RunBinding(m, t, args);
  RunTemplate(t, args, m);
}

// Instantiates the global `head` with args[0..n) (borrowed; they must
// outlive the call), for callers that have the head and the arguments at
// hand without a redex cell. Its two commonest cases are inline, for the
// step loop: a global applied to exactly its parameters with a compiled
// template, and a bare parameterless name (an operator) whose definition is
// a value that is not evaluated afresh at each use.
[[gnu::always_inline]] inline void InstantiateGlobal(Machine& m, Cell* head, Cell* const* args, int n) {
  const GlobalShape* g = GlobalFor(head);
  if (g != nullptr) [[likely]] {
    if (n == g->k && n >= 1 && g->instance.ready) return RunInstance(m, g->instance, args);
    Cell* def = g->slot->get();
    if (n == 0 && g->k == 0 && EmptyCallDefinitions().empty() && def->First() != kCycleByte && IsValue(def)) {
      m.focus = CellRef::Share(def);
      return;
    }
  }
  InstantiateShape(m, head, g, args, n);
}

// A builtin with an on_args entry, named by the leaf head, called on
// args[0..arity) (borrowed; the caller holds them until the call returns),
// without a redex.
// False when its answer ended the evaluation (an error or a cycle).
bool CallNativeOnArgs(Machine& m, const BuiltinEntry& entry, const Cell* head, Cell* const* args);

// A builtin that reads its own redex (it has no on_args entry), called on
// a redex built from its name leaf h and args[0..n). The arguments of the
// set `owned` (bit i for args[i]) come with a count each, which the redex
// takes over: a value that only the redex holds then shows a count of one
// to the handler (`cork` updates such a vector in place).
void CallNativeOnNewRedex(Machine& m, const BuiltinEntry& entry, Cell* h, Cell* const* args, int n, uint32_t owned = 0);

// Whether a head leaf is contracted as a global (no earlier rule of
// Contract takes it, builtins aside): not a literal, marker, let or lambda.
inline bool IsGlobalHeadLeaf(const Cell* head) {
  if (!head->IsLeaf() || head->IsData()) return false;
  unsigned char b = head->Bytes()[0];
  if (IsDigit(b) || b == kVectorByte || b == kBlobByte || b == kRawByte || b == kCycleByte || b == kErrorByte) return false;
  return !((b == '{' || b == '\\') && head->Bytes()[1] == 0);
}

}  // namespace mox
