// Strict code: a branch of a definition run as calls instead of built.
//
// Every head but the lazy combinators has the redexes in its arguments
// reduced first to last before it is contracted. A branch whose every node
// is part of such a call, exactly saturated, with values or other such
// calls for arguments, as  nfib(n-1)+nfib(n-2)+1  is, therefore goes
// through a fixed order of calls: the innermost first, left to right. The
// reducer makes those calls in that order, keeping each answer in a
// register of an activation, instead of building the branch and taking it
// apart again step by step. The last call is made after the activation is
// gone, so that a call in tail position runs in constant space.
//
// A call whose head turns out not to be a builtin or a global taking its
// arguments as they are, or whose answer is not a value yet, is handed to
// the step loop with the activation waiting under it (a strict frame); the
// value the loop finds is the call's answer. Every name is looked up when
// the step loop would look it up reducing the built branch: a global or a
// builtin when it is called, an operator when its node is reached.
#pragma once

#include <cstdint>
#include <vector>

#include "core/cell.h"

namespace mox {

struct Machine;

constexpr int kStrictMaxArguments = 7;
// An operand names a register (the arguments, then the answers so far) or,
// with this bit, one of the code's constants.
constexpr uint16_t kConstantOperand = 0x8000;
constexpr uint8_t kApplyHeadLast = 0x80;  // see StrictCall::last

// An instruction: a call, or the entry into an operator's node whose
// arguments hold calls. The step loop looks an operator up when such a
// node becomes its focus, before the arguments are reduced, and keeps the
// builtin it is bound to: so does the entry, into a register. An operator
// bound to anything else there makes the node over to the step loop whole.
// A parameter or another head that makes no strict call, applied to values
// (kApply, `head` an operand), is built and handed to the step loop,
// whatever the head's value is.
struct StrictCall {
  enum Kind : uint8_t { kCall, kEnter, kApply } kind;
  uint8_t n;  // the arguments (kEnter: of the node's call)
  uint16_t out;  // the register of the answer or, entering, of the builtin
  uint16_t head;  // operand: the name called (kEnter: the operator)
  uint16_t in[kStrictMaxArguments];
  uint16_t call;  // kEnter: how far on the node's call is
  uint16_t node;  // kEnter: the node in the body, a constant operand
  // kCall: bit i set when in[i] is the last read of its register in the
  // branch, and the call's only read of it. The register's count can then
  // go to what the call builds (a redex, a global's instance), so that a
  // value nothing else holds is seen as such (`cork` updates a vector in
  // place). kApply: the same, the built application taking the counts,
  // and kApplyHeadLast for its head.
  uint8_t last;
  // kCall of a global: bit i set when in[i] is a parameter's or a global
  // answer's register read for the last time (and not handed over). It is
  // let go once the call returns, so that a value consumed early (a list
  // taken from another and sorted, say) is not kept to the end of the branch.
  uint8_t dead;
};

struct StrictCode {
  int refs = 0;  // the template that made it and each running activation
  int arguments = 0;
  int registers = 0;  // the arguments, answers and bound builtins
  uint32_t mask = 0;  // the parameters as a set of letters
  unsigned char letters[16] = {};
  std::vector<Cell*> constants;  // each holds a count
  std::vector<StrictCall> calls[2];  // per branch of a test; empty when it is not strict

  StrictCode() = default;
  StrictCode(const StrictCode&) = delete;
  StrictCode& operator=(const StrictCode&) = delete;
  ~StrictCode() {
    for (Cell* c : constants) Release(c);
  }
};

// A counted handle on strict code: running code outlives a redefinition
// of its global (a call may load code that recompiles the template).
class StrictRef {
 public:
  StrictRef() = default;
  explicit StrictRef(StrictCode* p) : p_(p) {
    if (p_ != nullptr) ++p_->refs;
  }
  StrictRef(const StrictRef& o) : StrictRef(o.p_) {}
  StrictRef(StrictRef&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  StrictRef& operator=(StrictRef o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~StrictRef() { Drop(p_); }
  StrictCode* get() const { return p_; }
  StrictCode* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  static void Drop(StrictCode* p) {
    if (p != nullptr && --p->refs == 0) delete p;
  }

 private:
  StrictCode* p_ = nullptr;
};

// A running branch: its code (counted), the next call, and where its
// registers start on the machine's register stack.
struct Activation {
  StrictCode* code;
  const StrictCall* next;
  const StrictCall* last;
  uint32_t base;
};

// Starts branch b of code on args (borrowed; they must be values) with a
// new activation and its strict frame; the focus is left empty, which the
// step loop takes as the sign to run the activation.
void EnterStrict(Machine& m, StrictCode& code, int b, Cell* const* args);

// Runs the innermost activation: stores the value in the focus, if any, as
// the answer of the call made last, then makes calls until one has to be
// reduced by the step loop, the code ends, or the evaluation does.
void RunStrict(Machine& m);

}  // namespace mox
