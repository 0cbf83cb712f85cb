// Running strict code: the calls of a branch made in order, their answers
// kept in registers (see strict.h).
#include "eval/strict.h"

#include "core/interrupt.h"
#include "eval/machine.h"
#include "eval/operators.h"
#include "eval/substitute.h"

namespace mox {

namespace {

Cell* Operand(const Machine& m, const Activation& a, uint16_t operand) {
  if (operand & kConstantOperand) return a.code->constants[operand & ~kConstantOperand];
  return m.registers[a.base + operand];
}

// The node an entry is for, with the parameters put in.
CellRef BuildNode(const Machine& m, const Activation& a, const StrictCall& enter) {
  const StrictCode& code = *a.code;
  return SubstituteParameters(Operand(m, a, enter.node), code.letters, code.arguments, code.mask,
                              m.registers.data() + a.base);
}

// An operand's cell, with the count of its register when `last`.
CellRef TakeOrShare(Machine& m, const Activation& a, uint16_t operand, bool last) {
  if (!last) return CellRef::Share(Operand(m, a, operand));
  Cell*& r = m.registers[a.base + operand];
  CellRef taken(r);
  r = nullptr;
  return taken;
}

// A head applied to values (kApply), for the step loop.
CellRef BuildApplication(Machine& m, const Activation& a, const StrictCall& c) {
  CellRef app = TakeOrShare(m, a, c.head, (c.last & kApplyHeadLast) != 0);
  for (int i = 0; i < c.n; ++i) app = MakeAnalysedApp(std::move(app), TakeOrShare(m, a, c.in[i], (c.last >> i) & 1));
  return app;
}

// Enters an operator's node: the builtin the operator is bound to goes
// into the entry's register; an operator bound to anything else has the
// node built for the step loop instead of its calls, as the focus (with
// the activation gone first if the node is the branch).
void Enter(Machine& m, Activation& a, const StrictCall& enter) {
  const GlobalShape* g = BoundBuiltin(Operand(m, a, enter.head));
  if (g != nullptr && g->builtin->arity == enter.n) {
    Hold(g->body);
    m.registers[a.base + enter.out] = g->body;
    return;
  }
  const StrictCall* call = &enter + enter.call;
  a.next = call + 1;  // its answer is the node's call's
  CellRef node = BuildNode(m, a, enter);
  if (call == a.last) {
    m.PopActivation();
    m.frames.pop_back();
  }
  m.focus = std::move(node);
}

// A call in tail position: the activation goes first, so that a loop by
// tail calls runs in constant space. Its registers and code may hold the
// last counts on the head and the arguments, which are then ours, and a
// redex the call builds takes those of the arguments.
void TailCall(Machine& m, Cell* head, Cell* const* args, int n) {
  Hold(head);
  for (int i = 0; i < n; ++i) Hold(args[i]);
  m.PopActivation();
  m.frames.pop_back();
  if (!CallHead(m, head, args, n, (1u << n) - 1)) {
    for (int i = 0; i < n; ++i) Release(args[i]);
  }
  Release(head);
}

// A call marked as one that can use the counts (a builtin that reads its
// redex, or a small global that calls one): the registers read for the
// last time hand their counts over to the redex or the instance, so that a
// value nothing else holds is seen as such (cork updates a vector in
// place). The call may end the evaluation, and with it the activation and
// the last count on its code: nothing of the code is read after it.
[[gnu::noinline]] void HandOver(Machine& m, const Activation& a, const StrictCall& c, Cell* head, Cell* const* args) {
  const int n = c.n;
  const uint32_t last = c.last;
  for (int i = 0; i < n; ++i)
    if (last & (1u << i)) m.registers[a.base + c.in[i]] = nullptr;
  if (!CallHead(m, head, args, n, last)) {  // not a redex after all: ours to let go
    for (int i = 0; i < n; ++i)
      if (last & (1u << i)) Release(args[i]);
  }
}

// A call after which some of the registers it reads are read no more:
// they are let go once it returns. Their places are read first, as the
// call may end the evaluation and with it the code.
[[gnu::noinline]] void CallAndLetGo(Machine& m, const Activation& a, const StrictCall& c, Cell* head, Cell* const* args) {
  uint32_t dead[kStrictMaxArguments];
  int count = 0;
  for (int i = 0; i < c.n; ++i)
    if (c.dead & (1u << i)) dead[count++] = a.base + c.in[i];
  CallHead(m, head, args, c.n);
  for (int i = 0; i < count; ++i) {  // null when the evaluation ended and took the registers
    Release(m.registers[dead[i]]);
    m.registers[dead[i]] = nullptr;
  }
}

}  // namespace

void EnterStrict(Machine& m, StrictCode& code, int b, Cell* const* args) {
  uint32_t base = m.register_top;
  m.register_top = base + static_cast<uint32_t>(code.registers);
  if (m.register_top > m.registers.size()) m.registers.resize(2 * static_cast<size_t>(m.register_top), nullptr);
  for (int i = 0; i < code.arguments; ++i) {
    Hold(args[i]);
    m.registers[base + static_cast<size_t>(i)] = args[i];
  }
  ++code.refs;
  const std::vector<StrictCall>& calls = code.calls[b];
  m.activations.push_back({&code, calls.data(), calls.data() + calls.size() - 1, base});
  m.frames.push_back({FrameKind::kStrict, nullptr});
}

void RunStrict(Machine& m) {
  for (;;) {
    Activation& a = m.activations.back();
    if (m.focus) m.registers[a.base + a.next[-1].out] = m.focus.Leak();
    if (g_interrupted) [[unlikely]] return;  // the step loop takes it, then comes back
    const StrictCall& c = *a.next++;
    if (c.kind == StrictCall::kCall) [[likely]] {
      Cell* head = Operand(m, a, c.head);
      Cell* args[kStrictMaxArguments];
      for (int i = 0; i < c.n; ++i) args[i] = Operand(m, a, c.in[i]);
      if (&c == a.last) {
        TailCall(m, head, args, c.n);
      } else if (c.last == 0 && c.dead == 0) [[likely]] {
        CallHead(m, head, args, c.n);  // the registers hold the arguments
      } else if (c.last == 0) {
        CallAndLetGo(m, a, c, head, args);
      } else {
        HandOver(m, a, c, head, args);
      }
      if (!m.focus) continue;  // the callee's activation runs next
    } else if (c.kind == StrictCall::kEnter) {
      Enter(m, a, c);
      if (!m.focus) continue;
    } else {
      m.focus = BuildApplication(m, a, c);  // never the branch's last call
    }
    if (m.frames.empty() || m.frames.back().kind != FrameKind::kStrict || !IsValue(m.focus.get())) return;
  }
}

}  // namespace mox
