// Compiling a definition body into a build template, and running one.
#include "eval/template.h"

#include <algorithm>

#include "eval/machine.h"
#include "front/binders.h"
#include "program/analyse.h"

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
    bool dynamic = f.kind == Ref::kArgument || Dynamic(f) || Dynamic(a) || Model(f)->IsData();
    t.nodes.push_back({0, 0, 0, !dynamic, false, model->h & ~kCountMask});
    node_parts.push_back(f);
    node_parts.push_back(a);
    node_models.push_back(std::move(model));
    node_dynamic.push_back(dynamic);
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
    return node;
  }

  TemplateSlot Slot(Ref r) const {
    size_t base = r.kind == Ref::kArgument ? 0 : r.kind == Ref::kConstant ? static_cast<size_t>(t.arguments) : static_cast<size_t>(t.arguments) + t.constants.size();
    return static_cast<TemplateSlot>(base + static_cast<size_t>(r.index));
  }

  // The over-applied top spine: what the reducer's first step would park.
  void Unwind(Ref root) {
    Ref cur = root;
    while (cur.kind == Ref::kNode && !node_dynamic[static_cast<size_t>(cur.index)]) {
      const Cell* model = node_models[static_cast<size_t>(cur.index)].get();
      if (model->IsData() || model->AnalysisValue() >= 0) break;
      t.nodes[static_cast<size_t>(cur.index)].unwound = true;
      t.parked.push_back(Slot(node_parts[2 * static_cast<size_t>(cur.index) + 1]));
      cur = node_parts[2 * static_cast<size_t>(cur.index)];
    }
    t.focus = Slot(cur);
  }

  // Whether the unwound body is a test (see TemplateTest), and the nodes
  // of each branch: a node's own nodes come just before it, as Emit builds
  // parts first, and no branch holds an unwound node.
  void FindTest() {
    size_t p = t.parked.size();
    size_t inputs = static_cast<size_t>(t.arguments) + t.constants.size();
    if (p < 3 || p - 2 > 7 || t.focus < t.arguments || t.focus >= inputs) return;
    const Cell* op = t.constants[t.focus - static_cast<size_t>(t.arguments)];
    if (!op->IsLeaf() || op->Bytes()[0] == 0 || op->Bytes()[1] != 0) return;
    for (size_t i = 2; i < p; ++i)
      if (t.parked[i] >= inputs) return;
    std::vector<size_t> first(t.nodes.size()), kept_index(t.nodes.size());
    size_t kept = 0;
    for (size_t i = 0; i < t.nodes.size(); ++i) {
      first[i] = i;
      for (size_t j = 2 * i; j < 2 * i + 2; ++j)
        if (node_parts[j].kind == Ref::kNode) first[i] = std::min(first[i], first[static_cast<size_t>(node_parts[j].index)]);
      kept_index[i] = kept;
      if (!t.nodes[i].unwound) ++kept;
    }
    for (int b = 0; b < 2; ++b) {
      TemplateSlot s = t.parked[1 - static_cast<size_t>(b)];  // parked outermost first: y, x
      t.test.branch[b] = s;
      if (s < inputs) continue;
      size_t node = s - inputs;
      t.test.begin[b] = static_cast<uint16_t>(kept_index[first[node]]);
      t.test.end[b] = static_cast<uint16_t>(kept_index[node] + 1);
    }
    MOX_ASSERT(t.test.end[0] - t.test.begin[0] + t.test.end[1] - t.test.begin[1] == static_cast<int>(t.kept.size()));
    t.test.arity = static_cast<int>(p - 2);
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

// Parks the parts t.parked[0..count), outermost first.
void Park(const Template& t, Cell** table, size_t count, Machine& m) {
  for (size_t i = 0; i < count; ++i) {
    Cell* c = table[t.parked[i]];
    Hold(c);
    m.frames.push_back({FrameKind::kPark, c});
  }
}

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
  c.FindTest();
  out.table.assign(static_cast<size_t>(k) + out.constants.size() + out.nodes.size(), nullptr);
  std::copy(out.constants.begin(), out.constants.end(), out.table.begin() + k);
  for (const TemplateNode& node : out.nodes) out.any_fixed = out.any_fixed || node.fixed;
  out.ready = true;
}

void RunTemplate(const Template& t, Cell* const* args, Machine& m) {
  Cell** table = RunNodes(t, t.kept, args);
  Park(t, table, t.parked.size(), m);
  Cell* focus = table[t.focus];
  Hold(focus);
  m.focus = CellRef(focus);
}

void RunBranch(const Template& t, Cell* const* args, int b, Machine& m) {
  if (b < 0) {
    Park(t, RunNodes(t, t.kept, args), 2, m);
    return;
  }
  const TemplateNode* kept = t.kept.data();
  Cell* c = RunNodes(t, kept + t.test.begin[b], kept + t.test.end[b], args)[t.test.branch[b]];
  Hold(c);
  m.focus = CellRef(c);
}

CellRef BuildTemplate(const Template& t, Cell* const* args) {
  Cell** table = RunNodes(t, t.nodes, args);
  Cell* root = table[t.root];
  Hold(root);
  return CellRef(root);
}

}  // namespace mox
