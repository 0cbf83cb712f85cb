// Contraction: the rewrite of a saturated focus, chosen by the head of its
// spine. Builtin names come first (they can never be shadowed), then the
// data heads, lambdas and lets, the cycle and error markers, and last the
// instantiation of a global definition.
#include <cstring>

#include "eval/apply_data.h"
#include "eval/head_cache.h"
#include "eval/lambda_cache.h"
#include "eval/machine.h"
#include "eval/substitute.h"
#include "front/binders.h"
#include "program/analyse.h"
#include "program/builtin_table.h"
#include "program/globals.h"
#include "program/sharing.h"

namespace mox {

namespace {

constexpr int kMaxArguments = 16;

CellRef PrefixedLeaf(unsigned char prefix, std::string_view key) {
  Cell* c = AllocLeaf(1 + key.size());
  c->Bytes()[0] = prefix;
  if (!key.empty()) std::memcpy(c->Bytes() + 1, key.data(), key.size());
  return FinishLeaf(c);
}

// The evaluation ends at once with `answer` (an error or a cycle).
void Escape(Machine& m, CellRef answer) {
  m.DropContinuation();
  m.focus = std::move(answer);
}

}  // namespace

namespace {

// A native result: an error value or a cycle marker ends the evaluation
// (false), anything else is the new focus.
[[gnu::always_inline]] inline bool TakeNativeResult(Machine& m, CellRef&& out) {
  MOX_ASSERT(out);
  Cell* r = out.get();
  if (r->IsApp() && r->f->IsLeaf() && (r->f->Bytes()[0] == kCycleByte || r->f->Bytes()[0] == kErrorByte)) {
    Escape(m, std::move(out));
    return false;
  }
  m.focus = std::move(out);
  return true;
}

}  // namespace

void CallNative(Machine& m, const BuiltinEntry& entry) {
  CellRef out;
  entry.handler(out, std::move(m.focus));
  TakeNativeResult(m, std::move(out));
}

bool CallNativeOnArgs(Machine& m, const BuiltinEntry& entry, const Cell* head, Cell* const* args) {
  CellRef out;
  entry.on_args(out, head, args);
  return TakeNativeResult(m, std::move(out));
}

// The redex is only read by the handler, and usually dies with the call:
// it is left unanalysed (the cache stays 0, so a handler that hands it or
// a part of it back has it analysed when it is met).
void CallNativeOnNewRedex(Machine& m, const BuiltinEntry& entry, Cell* h, Cell* const* args, int n, uint32_t owned) {
  CellRef redex = CellRef::Share(h);
  for (int i = 0; i < n; ++i)
    redex = MakeApp(std::move(redex), owned & (1u << i) ? CellRef(args[i]) : CellRef::Share(args[i]));
  m.focus = std::move(redex);
  CallNative(m, entry);
}

namespace {

// The entry of a parameterless global while its value is being computed.
bool IsBeingEvaluated(const Cell* definition) {
  return definition->IsLeaf() && definition->Bytes()[0] == kCycleByte;
}

// The first value of a parameterless global becomes its definition, even
// over a definition that code loaded meanwhile gave the name: the value is
// what the global evaluated to. Only a name that the loaded code made one to
// evaluate afresh at each use (NAME()) keeps its new definition, which a
// stored value would freeze. A stored value that replaces a loaded
// definition may take the name's parameters away again: the shared leaves
// of the name analysed with them go, as after a load.
void StoreGlobalValue(Machine& m, Cell* head, Cell* value) {
  std::string_view key = LeafView(head).substr(1);
  CellRef* entry = Globals().Find(key);
  MOX_ASSERT(entry != nullptr);
  MOX_ASSERT(IsValue(value));
  CellRef v = CellRef::Share(value);
  if (IsLambdaNode(value)) v = MakeApp(MakeApp(MakeLeaf("B"), MakeLeaf("I")), std::move(v));
  if (EmptyCallDefinitions().count(key) == 0) {
    const bool loaded_meanwhile = !IsBeingEvaluated(entry->get());
    *entry = v.Copy();
    if (loaded_meanwhile) ForgetStaleNames(nullptr);
  }
  m.focus = std::move(v);
}

// A name analysed before code loaded at run time gave it more parameters
// saturates with fewer arguments than its definition takes (the analysis of
// a cell is never redone). The arguments there are put in for the first
// parameters; the rest stay lambdas, so the answer is the function that
// waits for them, as if the name had been applied to n arguments only.
CellRef InstantiateEarly(Cell* definition, Cell* const* args, int n) {
  CellRef d = CellRef::Share(definition);
  for (int i = 0; i < n; ++i) d = Substitute(d->a, LambdaVariable(d.get()), args[i]);
  return d;
}

}  // namespace

void InstantiateShape(Machine& m, Cell* head, const GlobalShape* g, Cell* const* args, int n) {
  if (g == nullptr) return Escape(m, PrefixedLeaf(kErrorByte, LeafView(head)));
  if (g->k > n) {
    m.focus = InstantiateEarly(g->slot->get(), args, n);
    return;
  }
  if (g->k >= 1) {
    // The whole body: more arguments follow it, or no template was compiled.
    CellRef body = g->instance.ready ? BuildTemplate(g->instance, args)
                                     : SubstituteParameters(g->body, g->letters, g->k, g->mask, args);
    for (int i = g->k; i < n; ++i) body = MakeApp(std::move(body), CellRef::Share(args[i]));
    m.focus = std::move(body);
    return;
  }
  CellRef def = g->slot->Copy();
  const NameSet& constants = EmptyCallDefinitions();
  bool marker = IsBeingEvaluated(def.get());
  // The head and the arguments may be parts of the focus, which the new
  // focus replaces: it is held until they have been used.
  CellRef redex = std::move(m.focus);
  std::string_view key = LeafView(head);
  if (!constants.empty() && constants.count(key) != 0) {  // evaluated afresh at each use
    m.focus = std::move(def);
  } else if (marker) {  // being evaluated further out
    return Escape(m, PrefixedLeaf(kCycleByte, key));
  } else if (IsValue(def.get())) {
    m.focus = std::move(def);
  } else {
    *g->slot = MakeLeaf(")");
    m.focus = MakeApp(PrefixedLeaf(kCycleByte, key), std::move(def));
  }
  // Arguments only when the name was analysed as taking parameters, before
  // code loaded at run time redefined it without any.
  for (int i = 0; i < n; ++i) m.focus = MakeApp(std::move(m.focus), CellRef::Share(args[i]));
}

namespace {

// A data head applied to its one argument. The order matters where kinds
// could overlap: vectors and numbers before other data.
CellRef ApplyDataHead(Cell* head, Cell* arg) {
  unsigned char b = head->IsLeaf() ? head->Bytes()[0] : 0;
  if (b == kVectorByte) return ApplyVector(head, arg);
  if (IsDigit(b)) return ApplyNumber(head);
  if (head->IsData()) return ApplyDataValue(head, arg);
  if (b == kBlobByte) return ApplyBlob(head);
  return ApplyRaw(head, arg);
}

constexpr int kMaxLambdasAtOnce = 9;

}  // namespace

// The lambda node (\ v) body applied to x, and with it each lambda directly
// in its body that has a value parked for it: the value of each would be
// applied to the next parked argument at once. One substitution of all
// their variables into the innermost body (or a run of the lambda's
// template, which does the same), instead of one per lambda that copies the
// body again. A later lambda of the same letter hides an earlier one, as
// its value does in the letter's slot here. A parked argument that is not a
// value yet ends the run: a lambda is a strict head, so that argument is
// reduced, once, before its lambda's body is entered.
void ApplyLambdas(Machine& m, Cell* lambda, Cell* x) {
  int depth = 1;
  Cell* body = lambda->a;
  for (size_t f = m.frames.size(); depth < kMaxLambdasAtOnce && !body->IsData() && IsLambdaNode(body) && f > 0 &&
                                   m.frames[f - 1].kind == FrameKind::kPark && IsValue(m.frames[f - 1].cell);
       --f, ++depth)
    body = body->a;
  Cell* args[kMaxLambdasAtOnce];  // x, then the parked arguments, each owning a count
  args[0] = x;
  for (int i = 1; i < depth; ++i) args[i] = m.Pop().cell;
  if (const Template* t = LambdaTemplate(lambda, depth)) {
    RunInstance(m, *t, args);
  } else {
    unsigned char letters[kMaxLambdasAtOnce];
    uint32_t mask;
    LambdaLetters(lambda, depth, letters, &mask);
    m.focus = SubstituteParameters(body, letters, depth, mask, args);
  }
  for (int i = 1; i < depth; ++i) Release(args[i]);
}

void Contract(Machine& m) {
  Cell* a = m.focus.get();
  // A focus normally has no free variables. A one-letter text that a program
  // makes at run time (the last element of [ab] is the leaf b) reads as a
  // variable nothing binds; it travels on as data, so the focus may carry it.
  MOX_ASSERT(a->Analysed() && !a->IsData() && a->AnalysisValue() == 0);

  Cell* args[kMaxArguments];
  int n = 0;
  Cell* h = a;
  for (; h->IsApp() && !h->IsData(); h = h->f) {
    MOX_ASSERT(n < kMaxArguments);
    args[n++] = h->a;
  }
  for (int i = 0, j = n - 1; i < j; ++i, --j) std::swap(args[i], args[j]);

  unsigned char b = h->IsLeaf() ? h->Bytes()[0] : 0;
  if (b >= 'a' && b <= 'z') {
    if (const BuiltinEntry* entry = BuiltinFor(h)) return CallNative(m, *entry);
  }
  if (h->IsData() || b == kVectorByte || IsDigit(b) || b == kBlobByte || b == kRawByte) {
    m.focus = ApplyDataHead(h, args[0]);
    return;
  }
  if (b == '{' && h->Bytes()[1] == 0) {  // let: a1 = v, a2 = y, a3 = z
    if (IsValue(args[1])) {
      m.focus = Substitute(args[2], args[0], args[1]);
    } else {
      m.Push(FrameKind::kLet, a);
      m.focus = CellRef::Share(args[1]);
    }
    return;
  }
  if (b == '\\' && h->Bytes()[1] == 0) return ApplyLambdas(m, a->f, args[2]);  // a->f = (\ v) body, a3 = x
  if (b == kCycleByte) return StoreGlobalValue(m, h, args[0]);
  if (b == kErrorByte) {
    std::string_view payload = LeafView(args[0]);
    return Escape(m, PrefixedLeaf(kErrorByte, payload));
  }
  InstantiateGlobal(m, h, args, n);
}

}  // namespace mox
