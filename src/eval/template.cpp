// Compiling a definition body into a build template, and running one.
#include "eval/template.h"

#include "front/binders.h"
#include "program/analyse.h"

namespace mox {

namespace {

struct Compiler {
  int slot_of_letter[26];
  std::vector<TemplateOp>& ops;
  int depth = 0, max_depth = 0;
  bool failed = false;

  void Push(TemplateOp op) {
    if (op.kind == TemplateOp::kApply) --depth;
    else if (++depth > max_depth) max_depth = depth;
    ops.push_back(op);
    if (ops.size() > kTemplateMaxOps || max_depth > kTemplateMaxDepth) failed = true;
  }
  void Constant(Cell* c) { Push({TemplateOp::kConstant, 0, c}); }

  // Emits the code that leaves c with the letters of mask substituted.
  void Emit(Cell* c, uint32_t mask, int budget) {
    if (failed) return;
    if (budget == 0) {
      failed = true;
      return;
    }
    if ((VariableSet(c) & mask) == 0) return Constant(c);
    if (c->IsLeaf()) return Push({TemplateOp::kArgument, static_cast<uint8_t>(slot_of_letter[c->Bytes()[0] - 'a']), nullptr});
    // The node is rebuilt as its kept part applied to its parts in turn.
    Scope scope = ScopeOf(c);
    if (scope.kept != nullptr) Constant(scope.kept);
    for (int i = 0; i < scope.count; ++i) {
      Emit(scope.part[i], mask & ~scope.hidden[i], budget - 1);
      if (scope.kept != nullptr || i > 0) Push({TemplateOp::kApply, 0, nullptr});
    }
  }
};

}  // namespace

void CompileTemplate(Cell* body, const unsigned char* letters, int k, Template& out) {
  out.ops.clear();
  out.depth = 0;
  Compiler c{{}, out.ops};
  uint32_t mask = 0;
  for (int i = 0; i < k; ++i) {
    unsigned char p = letters[i];
    if (p < 'a' || p > 'z') continue;
    c.slot_of_letter[p - 'a'] = i;
    mask |= uint32_t{1} << (p - 'a');
  }
  AnalyseCell(body);
  c.Emit(body, mask, kTemplateMaxDepth);
  if (c.failed) {
    out.ops.clear();
    return;
  }
  out.depth = c.max_depth;
}

CellRef RunTemplate(const Template& t, Cell* const* args) {
  Cell* stack[kTemplateMaxDepth + 1];
  int sp = 0;
  for (const TemplateOp& op : t.ops) {
    switch (op.kind) {
      case TemplateOp::kArgument:
        Retain(args[op.argument]);
        stack[sp++] = args[op.argument];
        break;
      case TemplateOp::kConstant:
        Retain(op.constant);
        stack[sp++] = op.constant;
        break;
      case TemplateOp::kApply: {
        Cell* p = static_cast<Cell*>(PoolAllocApp());
        p->h = 1;
        p->a = stack[--sp];
        p->f = stack[sp - 1];
        AnalyseApplication(p);
        stack[sp - 1] = p;
        break;
      }
    }
  }
  MOX_ASSERT(sp == 1);
  return CellRef(stack[0]);
}

}  // namespace mox
