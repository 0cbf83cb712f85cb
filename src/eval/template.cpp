// Compiling a definition body into a build template, and running one.
#include "eval/template.h"

#include <algorithm>
#include <memory>
#include <span>

#include "core/graph_walk.h"
#include "eval/machine.h"
#include "eval/operators.h"
#include "front/binders.h"
#include "program/analyse.h"
#include "program/builtin_table.h"
#include "program/globals.h"

namespace mox {

namespace {

constexpr size_t kMaxSlots = kMaxParameters + 3 * kTemplateMaxNodes + 1;

// A part while compiling: an argument, a constant or a node, by its index
// among its own kind (slots are numbered once the counts are known).
struct Ref {
  enum Kind : uint8_t { kArgument, kConstant, kNode } kind;
  int index;
};

struct Compiler {
  int slot_of_letter[26] = {};
  Template& t;
  CellRef placeholder;  // stands for every argument in the model
  std::vector<Ref> node_parts;  // f and a of each node
  std::vector<CellRef> node_models;
  std::vector<bool> node_dynamic;
  // An argument (or data) in the node's function chain: its arity, which
  // is all that decides whether it is over-applied, is not the model's.
  std::vector<bool> node_chain_dynamic;
  std::vector<Cell*> node_cells;  // the body's cell each node rebuilds (borrowed)
  bool failed = false;

  explicit Compiler(Template& out) : t(out), placeholder(MakeLeaf("0")) { AnalyseCell(placeholder.get()); }

  Cell* Model(Ref r) {
    switch (r.kind) {
      case Ref::kArgument: return placeholder.get();
      case Ref::kConstant: return t.constants[static_cast<size_t>(r.index)];
      case Ref::kNode: break;
    }
    return node_models[static_cast<size_t>(r.index)].get();
  }
  bool Dynamic(Ref r) const { return r.kind == Ref::kNode && node_dynamic[static_cast<size_t>(r.index)]; }
  bool ChainDynamic(Ref r) const { return r.kind == Ref::kNode && node_chain_dynamic[static_cast<size_t>(r.index)]; }

  Ref Constant(Cell* c) {
    auto it = std::find(t.constants.begin(), t.constants.end(), c);
    if (it == t.constants.end()) it = t.constants.insert(it, c);
    return {Ref::kConstant, static_cast<int>(it - t.constants.begin())};
  }

  Ref Apply(Ref f, Ref a) {
    if (t.nodes.size() >= kTemplateMaxNodes) {
      failed = true;
      return f;
    }
    CellRef model = MakeAnalysedApp(CellRef::Share(Model(f)), CellRef::Share(Model(a)));
    bool chain_dynamic = f.kind == Ref::kArgument || ChainDynamic(f) || Model(f)->IsData();
    bool dynamic = chain_dynamic || Dynamic(f) || Dynamic(a);
    t.nodes.push_back({0, 0, 0, !dynamic, false, model->h & ~kCountMask});
    node_parts.push_back(f);
    node_parts.push_back(a);
    node_models.push_back(std::move(model));
    node_dynamic.push_back(dynamic);
    node_chain_dynamic.push_back(chain_dynamic);
    node_cells.push_back(nullptr);
    return {Ref::kNode, static_cast<int>(t.nodes.size() - 1)};
  }

  // The part that leaves c with the letters of mask substituted.
  Ref Emit(Cell* c, uint32_t mask, int budget) {
    if (budget == 0) failed = true;
    if (failed || (VariableSet(c) & mask) == 0) return Constant(c);
    if (c->IsLeaf()) return {Ref::kArgument, slot_of_letter[c->Bytes()[0] - 'a']};
    // The node is rebuilt as its kept part applied to its parts in turn.
    Scope scope = ScopeOf(c);
    Ref node = scope.kept != nullptr ? Constant(scope.kept) : Emit(scope.part[0], mask & ~scope.hidden[0], budget - 1);
    for (int i = scope.kept != nullptr ? 0 : 1; i < scope.count; ++i)
      node = Apply(node, Emit(scope.part[i], mask & ~scope.hidden[i], budget - 1));
    if (node.kind == Ref::kNode) node_cells[static_cast<size_t>(node.index)] = c;
    return node;
  }

  TemplateSlot Slot(Ref r) const {
    size_t base = r.kind == Ref::kArgument ? 0 : r.kind == Ref::kConstant ? static_cast<size_t>(t.arguments) : static_cast<size_t>(t.arguments) + t.constants.size();
    return static_cast<TemplateSlot>(base + static_cast<size_t>(r.index));
  }

  // The over-applied top spine: what the reducer's first step would park.
  // A node whose arguments alone hold arguments of the body, as the root
  // of (n<1)(0)(f(n-1)) does, has the model's arity all the same.
  void Unwind(Ref root) {
    Ref cur = root;
    while (cur.kind == Ref::kNode && !ChainDynamic(cur)) {
      const Cell* model = node_models[static_cast<size_t>(cur.index)].get();
      if (model->IsData() || model->AnalysisValue() >= 0) break;
      t.nodes[static_cast<size_t>(cur.index)].unwound = true;
      t.parked.push_back(Slot(node_parts[2 * static_cast<size_t>(cur.index) + 1]));
      cur = node_parts[2 * static_cast<size_t>(cur.index)];
    }
    t.focus = Slot(cur);
  }

  // What a run builds of the nodes [begin, end) of `kept` when the part in
  // slot s is f x1 .. xn, f a parameter (see TemplateHead): all but the
  // nodes of that chain.
  void FindHead(TemplateSlot s, size_t begin, size_t end, TemplateHead& out) const {
    const size_t inputs = static_cast<size_t>(t.arguments) + t.constants.size();
    if (s < inputs) return;
    std::vector<TemplateSlot> parked, chain;
    Ref cur = {Ref::kNode, static_cast<int>(s - inputs)};
    for (; cur.kind == Ref::kNode && parked.size() < kMaxHeadArguments; cur = node_parts[2 * static_cast<size_t>(cur.index)]) {
      chain.push_back(Slot(cur));
      parked.push_back(Slot(node_parts[2 * static_cast<size_t>(cur.index) + 1]));
    }
    if (cur.kind != Ref::kArgument || parked.empty()) return;
    out.head = Slot(cur);
    out.parked = std::move(parked);
    for (size_t i = begin; i < end; ++i)
      if (std::find(chain.begin(), chain.end(), t.kept[i].out) == chain.end()) out.nodes.push_back(t.kept[i]);
  }

  // The part in slot s and the nodes of `kept` that build it alone: a
  // node's own nodes come just before it, as Emit builds parts first. The
  // part must hold no unwound node.
  TemplatePart PartAt(TemplateSlot s) const {
    size_t inputs = static_cast<size_t>(t.arguments) + t.constants.size();
    TemplatePart part = {s, 0, 0};
    if (s < inputs) return part;
    size_t node = s - inputs, first = node;
    for (size_t i = node + 1; i-- > 0;)  // the earliest node that one at or after `first` is built on
      if (i >= first)
        for (size_t j = 2 * i; j < 2 * i + 2; ++j)
          if (node_parts[j].kind == Ref::kNode) first = std::min(first, static_cast<size_t>(node_parts[j].index));
    auto kept_index = [&](size_t i) { return std::count_if(t.nodes.begin(), t.nodes.begin() + static_cast<ptrdiff_t>(i), [](const TemplateNode& n) { return !n.unwound; }); };
    part.begin = static_cast<uint16_t>(kept_index(first));
    part.end = static_cast<uint16_t>(kept_index(node) + 1);
    return part;
  }

  // Whether the unwound body is a test (see TemplateTest), and the nodes
  // of each branch (no branch holds an unwound node).
  void FindTest() {
    size_t p = t.parked.size();
    size_t inputs = static_cast<size_t>(t.arguments) + t.constants.size();
    if (p < 3 || p - 2 > 7 || t.focus < t.arguments || t.focus >= inputs) return;
    const Cell* op = t.constants[t.focus - static_cast<size_t>(t.arguments)];
    if (!op->IsLeaf() || op->Bytes()[0] == 0 || op->Bytes()[1] != 0) return;
    for (size_t i = 2; i < p; ++i)
      if (t.parked[i] >= inputs) return;
    for (int b = 0; b < 2; ++b) t.test.branch[b] = PartAt(t.parked[1 - static_cast<size_t>(b)]);  // parked outermost first: y, x
    const TemplatePart* branch = t.test.branch;
    MOX_ASSERT(branch[0].end - branch[0].begin + branch[1].end - branch[1].begin == static_cast<int>(t.kept.size()));
    t.test.arity = static_cast<int>(p - 2);
  }

  Ref Part(Ref node, int i) const { return node_parts[2 * static_cast<size_t>(node.index) + static_cast<size_t>(i)]; }

  // Whether the part `root` is a match (see TemplateMatch): it applies a
  // parameter to a part c, then to a lambda of two variables that holds
  // parameters (a node). B is compiled for the parameters followed by the
  // lambda's two variables.
  void FindMatch(Ref root, const unsigned char* letters, int k, TemplateMatch& out) {
    if (root.kind != Ref::kNode || k + 2 > kMaxParameters) return;
    Ref f = Part(root, 0), l = Part(root, 1);
    if (f.kind != Ref::kNode || l.kind != Ref::kNode) return;
    Ref x = Part(f, 0), c = Part(f, 1);
    if (x.kind != Ref::kArgument) return;
    const Cell* lambda = node_cells[static_cast<size_t>(l.index)];
    if (lambda == nullptr || !IsLambdaNode(lambda) || lambda->a->IsData() || !IsLambdaNode(lambda->a)) return;
    const Cell* inner = lambda->a;
    if (BoundLetter(LambdaVariable(lambda)) == 0 || BoundLetter(LambdaVariable(inner)) == 0) return;
    unsigned char both[kMaxParameters];
    std::copy(letters, letters + k, both);
    both[k] = LambdaVariable(lambda)->Bytes()[0];
    both[k + 1] = LambdaVariable(inner)->Bytes()[0];
    auto body = std::make_shared<Template>();
    CompileTemplate(inner->a, both, k + 2, *body);
    if (body->ready) out = {x.index, PartAt(Slot(c)), std::move(body)};
  }

  // Whether the part `root` is a let (see TemplateLet) that holds
  // parameters: the kept part ({ x) applied to y and then to z. z is
  // compiled for the parameters followed by x.
  void FindLet(Ref root, const unsigned char* letters, int k, TemplateLet& out) {
    if (root.kind != Ref::kNode || k + 1 > kMaxParameters) return;
    const Cell* let = node_cells[static_cast<size_t>(root.index)];
    if (let == nullptr || BinderOf(let) != Binder::kLet || BoundLetter(LetVariable(let)) == 0) return;
    unsigned char inner[kMaxParameters];
    std::copy(letters, letters + k, inner);
    inner[k] = LetVariable(let)->Bytes()[0];
    auto body = std::make_shared<Template>();
    CompileTemplate(let->a, inner, k + 1, *body);
    if (!body->ready) return;
    out = {PartAt(Slot(Part(Part(root, 0), 1))), let->a, std::move(body)};
  }

  // Strict code for the parameters, with no calls yet.
  std::unique_ptr<StrictCode> NewStrictCode(const unsigned char* letters, uint32_t mask) const {
    auto code = std::make_unique<StrictCode>();
    code->arguments = code->registers = t.arguments;
    static_assert(sizeof code->letters == kMaxParameters);
    std::copy(letters, letters + t.arguments, code->letters);
    code->mask = mask;
    return code;
  }

  // The test's branches as strict code (see strict.h), where a branch is a
  // call whose arguments are values or such calls again, each exactly
  // saturated (an operator, taking no parameters of its own, takes its
  // builtin's) and headed by a name that is not a lazy combinator; or,
  // below the branch's own call, any other node of values (StrictApply).
  void FindStrict(const unsigned char* letters, uint32_t mask) {
    std::unique_ptr<StrictCode> code = NewStrictCode(letters, mask);
    bool any = false;
    for (int b = 0; b < 2; ++b) {
      std::vector<StrictCall>& calls = code->calls[b];
      size_t inputs = static_cast<size_t>(t.arguments) + t.constants.size();
      uint16_t answer;
      TemplateSlot s = t.test.branch[b].slot;
      Ref branch = {Ref::kNode, static_cast<int>(s - inputs)};
      if (s < inputs || !StrictOperand(branch, *code, calls, answer, true) || code->registers >= kConstantOperand)
        calls.clear();
      MarkLastReads(calls, *code);
      any = any || !calls.empty();
    }
    if (any) t.strict = StrictRef(code.release());
  }

  // A body that is no test, as the strict code of its one branch (index
  // 0), when it is such a branch and makes more than one call: one call
  // alone is made as cheaply by parking its arguments (the template's
  // unwound spine). Only its last call may be a global's: a body that
  // recurses before its last call (h+sum(t)) would keep an activation and
  // its registers for every level, more than the built body's frames.
  void FindStrictBody(Ref root, const unsigned char* letters, uint32_t mask) {
    if (root.kind != Ref::kNode) return;
    std::unique_ptr<StrictCode> code = NewStrictCode(letters, mask);
    std::vector<StrictCall>& calls = code->calls[0];
    uint16_t answer;
    if (!StrictOperand(root, *code, calls, answer, true) || code->registers >= kConstantOperand || calls.size() < 2)
      return;
    for (size_t i = 0; i + 1 < calls.size(); ++i)
      if (calls[i].kind == StrictCall::kCall && CallsGlobal(*code, calls[i].head)) return;
    MarkLastReads(calls, *code);
    t.strict = StrictRef(code.release());
  }

  // Emits the instructions that compute r and names its value in
  // `operand`; false when r is not strict. Depth is bounded by the body's.
  bool StrictOperand(Ref r, StrictCode& code, std::vector<StrictCall>& calls, uint16_t& operand, bool root = false) {
    if (r.kind == Ref::kArgument) {
      operand = static_cast<uint16_t>(r.index);
      return true;
    }
    if (r.kind == Ref::kConstant) {
      Cell* c = t.constants[static_cast<size_t>(r.index)];
      operand = StrictConstant(code, c);
      return IsValue(c);
    }
    Ref args[kStrictMaxArguments];
    int n = 0;
    Ref h = r;
    for (; h.kind == Ref::kNode; h = node_parts[2 * static_cast<size_t>(h.index)]) {
      if (n == kStrictMaxArguments) return false;
      args[n++] = node_parts[2 * static_cast<size_t>(h.index) + 1];
    }
    std::reverse(args, args + n);
    if (h.kind == Ref::kArgument) return !root && StrictApply(static_cast<uint16_t>(h.index), args, n, code, calls, operand);
    if (h.kind != Ref::kConstant) return false;
    Cell* fixed[kStrictMaxArguments];
    int j;
    bool op;
    Cell* head = StrictCallHead(r, h, n, fixed, &j, &op);
    if (head == nullptr) {  // a lazy combinator's node, say: built when its turn comes
      Cell* function = t.constants[static_cast<size_t>(h.index)];
      return !root && StrictApply(StrictConstant(code, function), args, n, code, calls, operand);
    }
    StrictCall call = {};
    call.kind = StrictCall::kCall;
    call.n = static_cast<uint8_t>(j + n);
    call.head = StrictConstant(code, head);
    for (int i = 0; i < j; ++i) call.in[i] = StrictConstant(code, fixed[i]);
    const size_t enter = calls.size();
    const bool entering = op && std::any_of(args, args + n, [](Ref a) { return a.kind == Ref::kNode; });
    if (entering) {
      call.head = static_cast<uint16_t>(code.registers++);
      calls.push_back({StrictCall::kEnter, call.n, call.head, StrictConstant(code, head), {}, 0, StrictConstant(code, node_cells[static_cast<size_t>(r.index)]), 0, 0});
    }
    for (int i = 0; i < n; ++i)
      if (!StrictOperand(args[i], code, calls, call.in[j + i])) return false;
    call.out = static_cast<uint16_t>(code.registers++);
    operand = call.out;
    if (entering) calls[enter].call = static_cast<uint16_t>(calls.size() - enter);  // not an inner node's entry
    calls.push_back(call);
    return true;
  }

  // The head of a strict call r, whose spine ends in the constant h after
  // n arguments: a name that is not a lazy combinator, exactly saturated,
  // maybe under a function part that holds no parameter (plus(1,f(x))),
  // whose own arguments, `fixed[0..j)`, are then the call's first ones;
  // `op` when the name is an operator. Null when r is no such call.
  Cell* StrictCallHead(Ref r, Ref h, int n, Cell** fixed, int* j, bool* op) const {
    Cell* head = t.constants[static_cast<size_t>(h.index)];
    *j = 0;
    for (; head->IsApp() && !head->IsData(); head = head->f) {
      if (*j + n == kStrictMaxArguments || !IsValue(head->a)) return nullptr;
      fixed[(*j)++] = head->a;
    }
    std::reverse(fixed, fixed + *j);
    if (!head->IsLeaf() || head->IsData() || !IsGlobalHeadLeaf(head) || kLazyHeads.byte[head->Bytes()[0]]) return nullptr;
    const Cell* model = node_models[static_cast<size_t>(r.index)].get();
    *op = kOperatorBytes.byte[head->Bytes()[0]] && head->Bytes()[1] == 0 && head->AnalysisValue() == 0;
    if (model->IsData() || model->AnalysisValue() != (*op ? -(*j + n) : 0)) return nullptr;
    return head;
  }

  // A parameter, or a head that makes no strict call (a lazy combinator,
  // a global over- or under-applied), applied to values (kApply): whatever
  // the head's value turns out to be, even a lazy combinator's partial
  // application, the application is built and reduced when its turn comes,
  // as the step loop would reduce it in the built branch, and as no
  // argument holds a call, no call is made in another order. The branch's
  // own node is left to the template (a head, a match or the built branch).
  bool StrictApply(uint16_t head, const Ref* args, int n, StrictCode& code, std::vector<StrictCall>& calls,
                   uint16_t& operand) {
    StrictCall call = {};
    call.kind = StrictCall::kApply;
    call.n = static_cast<uint8_t>(n);
    call.head = head;
    for (int i = 0; i < n; ++i)
      if (args[i].kind == Ref::kNode || !StrictOperand(args[i], code, calls, call.in[i])) return false;
    call.out = static_cast<uint16_t>(code.registers++);
    operand = call.out;
    calls.push_back(call);
    return true;
  }

  // The calls' `last` bits, from the end of the branch back, for the calls
  // that can make use of the counts (see TakesCounts; handing them over
  // costs a little on every other call), and their `dead` bits, for the
  // answers of globals read last by a call of a global (letting go costs
  // a little too: a builtin's answer is mostly a number, and a builtin
  // returns at once). Entering a node may build it from the parameters, so
  // an entry reads them all.
  static void MarkLastReads(std::vector<StrictCall>& calls, const StrictCode& code) {
    std::vector<bool> read_later(static_cast<size_t>(code.registers), false);
    std::vector<bool> global_answer(static_cast<size_t>(code.registers), false);
    for (const StrictCall& c : calls)
      if (c.kind == StrictCall::kCall) global_answer[c.out] = CallsGlobal(code, c.head);
    for (size_t k = calls.size(); k-- > 0;) {
      StrictCall& c = calls[k];
      if (c.kind == StrictCall::kEnter) {
        std::fill(read_later.begin(), read_later.begin() + code.arguments, true);
        continue;
      }
      c.last = c.dead = 0;
      if (c.kind == StrictCall::kApply) {
        MarkApplyReads(c, read_later);
      } else {
        const bool takes = TakesCounts(code, c.head);
        const bool lets_go = k + 1 < calls.size() && CallsGlobal(code, c.head);  // the last call's activation is gone
        for (int i = 0; i < c.n; ++i) {
          uint16_t r = c.in[i];
          if (r & kConstantOperand || read_later[r]) continue;
          // A parameter too: a list's tail handed to a call that is no tail
          // call, as in f(h)+g(t), would otherwise keep every cell of the
          // list while g takes it apart.
          const bool dies = global_answer[r] || r < code.arguments;
          if (takes && std::count(c.in, c.in + c.n, r) == 1) c.last |= static_cast<uint8_t>(1u << i);
          else if (lets_go && dies && std::find(c.in, c.in + i, r) == c.in + i) c.dead |= static_cast<uint8_t>(1u << i);
        }
      }
      for (int i = 0; i < c.n; ++i)
        if (!(c.in[i] & kConstantOperand)) read_later[c.in[i]] = true;
      if (c.kind == StrictCall::kApply && !(c.head & kConstantOperand)) read_later[c.head] = true;
    }
  }

  // A built application takes the counts of the registers it reads for
  // the last time (`last`, bit 7 for its head), so that nothing is kept
  // for the rest of the branch that only the application holds.
  static void MarkApplyReads(StrictCall& c, const std::vector<bool>& read_later) {
    const bool head = !(c.head & kConstantOperand);
    for (int i = 0; i < c.n; ++i) {
      uint16_t r = c.in[i];
      if (r & kConstantOperand || read_later[r] || (head && r == c.head)) continue;
      if (std::count(c.in, c.in + c.n, r) == 1) c.last |= static_cast<uint8_t>(1u << i);
    }
    if (head && !read_later[c.head] && std::count(c.in, c.in + c.n, c.head) == 0) c.last |= kApplyHeadLast;
  }

  // Whether a call of the head operand can use the counts of the registers
  // it reads last: a builtin that reads its redex (only a redex can take
  // them, and cork updates a vector that nothing else holds in place), or
  // a global whose definition, as it stands, calls one (a small helper such
  // as  put\v\i\x\cork(v,i,x)). A hint only: any callee may be handed the
  // counts. Names are looked up in the tables, never through the head
  // cache: the template being compiled may belong to a line of that cache,
  // which a lookup could fill with another name.
  static bool TakesCounts(const StrictCode& code, uint16_t head) {
    if (!(head & kConstantOperand)) return false;  // an operator's builtin
    const Cell* name = code.constants[head & ~kConstantOperand];
    if (!name->IsLeaf()) return false;
    if (ReadsItsRedex(name)) return true;
    const CellRef* definition = Globals().Find(LeafView(name));
    return definition != nullptr && CallsRedexReader(definition->get());
  }

  // Whether the head operand names no builtin: a global's call (or the
  // call of whatever the name is bound to when it is made).
  static bool CallsGlobal(const StrictCode& code, uint16_t head) {
    if (!(head & kConstantOperand)) return false;  // an operator's builtin
    const Cell* name = code.constants[head & ~kConstantOperand];
    if (!name->IsLeaf()) return true;
    if (kOperatorBytes.byte[name->Bytes()[0]] && name->Bytes()[1] == 0) return false;
    return name->Bytes()[0] < 'a' || name->Bytes()[0] > 'z' || FindBuiltin(LeafView(name)) == nullptr;
  }

  // Builtin names cannot be redefined, so this holds for good.
  static bool ReadsItsRedex(const Cell* leaf) {
    if (leaf->Bytes()[0] < 'a' || leaf->Bytes()[0] > 'z') return false;
    const BuiltinEntry* entry = FindBuiltin(LeafView(leaf));
    return entry != nullptr && entry->on_args == nullptr;
  }

  // Whether a small definition names a builtin that reads its redex; a
  // large one is taken not to (it is no helper, and would be walked at
  // every call site compiled).
  static bool CallsRedexReader(const Cell* definition) {
    constexpr int kMaxCells = 64;
    ConstGraphWalk walk(definition);
    int cells = 0;
    while (const Cell* c = walk.Next()) {
      if (++cells > kMaxCells) return false;
      if (c->IsApp()) walk.EnterParts(c);
      else if (ReadsItsRedex(c)) return true;
    }
    return false;
  }

  static uint16_t StrictConstant(StrictCode& code, Cell* c) {
    auto it = std::find(code.constants.begin(), code.constants.end(), c);
    if (it == code.constants.end()) {
      Hold(c);
      it = code.constants.insert(it, c);
    }
    return static_cast<uint16_t>(kConstantOperand | (it - code.constants.begin()));
  }
};

// An argument whose analysis is what the model's placeholder gives: a
// value (never pending) with no free variable.
inline bool IsClosedValue(const Cell* c) {
  return c->IsData() || (!c->Flag() && c->AnalysisValue() >= 1 && VariableSet(c) == 0);
}

// Writes the arguments into the run's table and builds the nodes
// [begin, end) after them (each with count 0: its one user adds the
// count); returns the table.
[[gnu::always_inline]] inline Cell** RunNodes(const Template& t, const TemplateNode* begin, const TemplateNode* end, Cell* const* args) {
  Cell** table = t.table.data();
  bool closed = t.any_fixed;
  for (int i = 0; i < t.arguments; ++i) {
    table[i] = args[i];
    closed = closed && IsClosedValue(args[i]);
  }
  for (const TemplateNode* node = begin; node != end; ++node) {
    Cell* f = table[node->f];
    Cell* a = table[node->a];
    Hold(f);
    Hold(a);
    Cell* p = static_cast<Cell*>(PoolAllocApp());
    p->SetParts(f, a);
    if (node->fixed && closed) {
      p->h = node->header;
    } else {
      p->h = 0;
      AnalyseApplication(p);
    }
    table[node->out] = p;
  }
  return table;
}

[[gnu::always_inline]] inline Cell** RunNodes(const Template& t, const std::vector<TemplateNode>& nodes, Cell* const* args) {
  return RunNodes(t, nodes.data(), nodes.data() + nodes.size(), args);
}

[[gnu::always_inline]] inline CellRef Build(const Template& t, const TemplatePart& part, Cell* const* args) {
  const TemplateNode* kept = t.kept.data();
  // A part that is a parameter or a constant has no node to build.
  Cell* c = part.slot < t.arguments + t.constants.size() ? TemplateInput(t, part.slot, args)
                                                          : RunNodes(t, kept + part.begin, kept + part.end, args)[part.slot];
  Hold(c);
  return CellRef(c);
}

// Parks the parts in `slots` of a run's table, outermost first.
[[gnu::always_inline]] inline void Park(std::span<const TemplateSlot> slots, Cell** table, Machine& m) {
  for (TemplateSlot s : slots) m.Push(FrameKind::kPark, table[s]);
}

// Parks x1 .. xn of a part f x1 .. xn and makes f's argument the focus
// (see TemplateHead).
[[gnu::noinline]] void RunHead(const Template& t, const TemplateHead& h, Cell* const* args, Machine& m) {
  Park(h.parked, RunNodes(t, h.nodes, args), m);
  Cell* f = args[h.head];
  Hold(f);
  m.focus = CellRef(f);
}

// Whether a run takes h's way: f's argument is a value. A lambda then
// takes a parked value in the step that meets it (the lambda rule of
// Resume), as a global or builtin takes all it needs (ApplyParked).
inline bool HeadIsValue(const TemplateHead& h, Cell* const* args) { return !h.parked.empty() && IsValue(args[h.head]); }

}  // namespace

void CompileTemplate(Cell* body, const unsigned char* letters, int k, Template& out) {
  out = Template{};
  out.arguments = k;
  Compiler c(out);
  for (int i = 0; i < k; ++i) {
    unsigned char p = letters[i];
    if (p >= 'a' && p <= 'z') c.slot_of_letter[p - 'a'] = i;
  }
  uint32_t mask = 0;
  for (int i = 0; i < k; ++i)
    if (letters[i] >= 'a' && letters[i] <= 'z') mask |= uint32_t{1} << (letters[i] - 'a');
  AnalyseCell(body);
  Ref root = c.Emit(body, mask, kTemplateMaxDepth);
  if (c.failed || static_cast<size_t>(k) + out.constants.size() + out.nodes.size() > kMaxSlots) {
    out = Template{};
    return;
  }
  for (size_t i = 0; i < out.nodes.size(); ++i) {
    out.nodes[i].f = c.Slot(c.node_parts[2 * i]);
    out.nodes[i].a = c.Slot(c.node_parts[2 * i + 1]);
    out.nodes[i].out = c.Slot({Ref::kNode, static_cast<int>(i)});
  }
  out.root = c.Slot(root);
  c.Unwind(root);
  for (const TemplateNode& node : out.nodes)
    if (!node.unwound) out.kept.push_back(node);
  c.FindHead(out.focus, 0, out.kept.size(), out.head);
  c.FindTest();
  if (out.test.arity != 0) {
    c.FindStrict(letters, mask);
    const int inputs = k + static_cast<int>(out.constants.size());
    for (int b = 0; b < 2; ++b) {
      if (out.test.branch[b].slot < inputs) continue;
      const Ref branch = {Ref::kNode, out.test.branch[b].slot - inputs};
      c.FindHead(out.test.branch[b].slot, out.test.branch[b].begin, out.test.branch[b].end, out.test.head[b]);
      c.FindMatch(branch, letters, k, out.test.match[b]);
      if (!out.test.match[b].body) c.FindLet(branch, letters, k, out.test.let[b]);
    }
  } else {
    c.FindMatch(root, letters, k, out.match);
    if (!out.match.body) c.FindLet(root, letters, k, out.let);
    if (!out.match.body && !out.let.body) c.FindStrictBody(root, letters, mask);
  }
  out.table.assign(static_cast<size_t>(k) + out.constants.size() + out.nodes.size(), nullptr);
  std::copy(out.constants.begin(), out.constants.end(), out.table.begin() + k);
  for (const TemplateNode& node : out.nodes) out.any_fixed = out.any_fixed || node.fixed;
  out.shaped = out.test.arity != 0 || out.match.body || out.let.body || out.strict;
  out.ready = true;
}

void RunTemplate(const Template& t, Cell* const* args, Machine& m) {
  if (HeadIsValue(t.head, args)) return RunHead(t, t.head, args, m);
  Cell** table = RunNodes(t, t.kept, args);
  Park(t.parked, table, m);
  Cell* focus = table[t.focus];
  Hold(focus);
  m.focus = CellRef(focus);
}

void RunBranch(const Template& t, Cell* const* args, int b, Machine& m) {
  if (b < 0) {
    Park(std::span(t.parked).first(2), RunNodes(t, t.kept, args), m);
    return;
  }
  if (HeadIsValue(t.test.head[b], args)) return RunHead(t, t.test.head[b], args, m);
  m.focus = Build(t, t.test.branch[b], args);
}

CellRef BuildPart(const Template& t, const TemplatePart& part, Cell* const* args) { return Build(t, part, args); }

CellRef BuildTemplate(const Template& t, Cell* const* args) {
  Cell** table = RunNodes(t, t.nodes, args);
  Cell* root = table[t.root];
  Hold(root);
  return CellRef(root);
}

}  // namespace mox
