// Instantiation templates. Instantiating a global (or a lambda of the
// program, eval/lambda_cache.h) substitutes its arguments into its body,
// rebuilding just the nodes that hold a parameter. For a body of modest
// size that work is the same every time, so it is compiled once, when the
// definition is first used, into a list of the nodes to build, each
// naming its two parts (an argument, an unchanged part of the body, or an
// earlier node) and, where it does not depend on the arguments, the header
// its analysis gives. Running it writes the nodes in one pass.
//
// The analysis of a node depends on its arguments only through what a
// closed value always gives (never pending, no free variable) unless an
// argument is in its function chain, where it decides the arity and the
// binder shape: such nodes, and those built on them, are analysed when
// built. The fixed headers are found at compile time by analysing a model
// of the body with a closed placeholder for every argument, so they come
// from the one analysis rule.
//
// A body whose top is over-applied would be taken apart by the reducer's
// first step anyway (its surplus arguments parked, its inner function made
// the focus); the template does that itself and never builds those nodes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/cell.h"
#include "eval/strict.h"

namespace mox {

struct Machine;

// A part of a node: slot `index` of the run's table, which holds the
// arguments, then the constants, then the nodes built so far.
using TemplateSlot = uint16_t;

struct TemplateNode {
  TemplateSlot f, a;
  TemplateSlot out;  // where the node goes in the run's table
  bool fixed;      // header holds the analysis (valid for closed value arguments)
  bool unwound;    // on the over-applied top spine: parked, never built
  uint64_t header;  // analysis cache and variable set, count 0
};

// The nodes of a template run that build one part alone: those of `kept`
// in [begin, end), of which the part is the last (none when the part is an
// argument or a constant).
struct TemplatePart {
  TemplateSlot slot = 0;
  uint16_t begin = 0, end = 0;
};

// A body (or a test's branch) f x1 .. xn whose head f is a parameter, as
// Y's  a(Y a)b  is: when f's argument is a value, a run makes it the
// focus with x1 .. xn parked, the state that the reducer's steps would
// reach from the built application, and builds only `nodes`, the parts'
// own. Otherwise the whole is built. parked is empty for any other shape.
struct TemplateHead {
  TemplateSlot head = 0;  // f's slot
  std::vector<TemplateSlot> parked;  // x1 .. xn, outermost first
  std::vector<TemplateNode> nodes;
};

struct Template;

// A body of the shape  x c (h\t\B)  whose head x is a parameter: the way a
// list is taken apart, as l(0)(h\t\...) does. Its lambda holds parameters,
// so running the body would build it with them put in, and the list would
// then apply it to its head and tail, building B once more. When x is a
// list cell (ListParts) the lambda is never built: B runs at once, compiled
// for the parameters and h, t; when x is a truth value taking the first
// branch the answer is c. Any other x runs the whole template. A test's
// branch may be a match too.
struct TemplateMatch {
  int scrutinee = 0;  // the parameter x
  TemplatePart otherwise;  // c
  std::shared_ptr<const Template> body;  // B; null when the body is no match
};

// A body  x{y}z, a let at the top (or a test's branch that is one). Running
// it would build the let node with the parameters put in z as well as y,
// and the let's value would then be substituted into z, building it again.
// Instead y is built alone, and z, compiled for the parameters and x, runs
// once y's value is known.
struct TemplateLet {
  TemplatePart bound;  // y
  Cell* scope = nullptr;  // z (borrowed): its cells are the body's constants
  std::shared_ptr<const Template> body;  // z compiled
};

// A body of the shape  op c1 .. cn x y: a one-byte name applied to n
// arguments or constants and then to two branches, as (n<2)(1)(...) is.
// When op answers with a truth value, the reducer builds only the branch
// that the answer takes. arity is 0 for every other body.
struct TemplateTest {
  int arity = 0;
  TemplatePart branch[2];  // x and y
  TemplateMatch match[2];  // a branch that is a match
  TemplateLet let[2];      // a branch that is a let
  TemplateHead head[2];    // a branch headed by a parameter
};

struct Template {
  bool ready = false;  // false: no template (use substitution)
  bool any_fixed = false;  // some node has a fixed header
  bool shaped = false;  // a test, a match, a let or strict code: one flag, read on every run
  int arguments = 0;
  std::vector<Cell*> constants;  // borrowed from the definition it was made from
  std::vector<TemplateNode> nodes;
  std::vector<TemplateNode> kept;  // the nodes that are not unwound, in order
  // With the spine unwound: the parked parts, outermost first, and the focus.
  std::vector<TemplateSlot> parked;
  TemplateSlot focus = 0;  // the result (the inner focus when unwound)
  TemplateHead head;  // a body headed by a parameter
  TemplateSlot root = 0;   // the whole body
  TemplateTest test;
  TemplateMatch match;
  TemplateLet let;
  // A test's branches as strict code, when either can be; or the body's,
  // as branch 0, when it is no test, match or let.
  StrictRef strict;
  // The run's table of parts, indexed by slot: the constants are written
  // once, when compiled; a run writes the arguments and the nodes it builds,
  // so that each part of a node is one read. A run calls nothing that could
  // run a template, so one table per template serves every run.
  mutable std::vector<Cell*> table;
};

constexpr int kMaxParameters = 16;
constexpr int kTemplateMaxDepth = 64;
constexpr size_t kTemplateMaxNodes = 512;
constexpr size_t kMaxHeadArguments = 16;

// Compiles body for the parameters letters[0..k) (a later one of the same
// letter wins); leaves `out` not ready when the body is too large or too
// deep.
void CompileTemplate(Cell* body, const unsigned char* letters, int k, Template& out);

// Runs a template on the arguments (borrowed, analysed) and makes the
// result the machine's focus, the spine unwound onto its frames.
void RunTemplate(const Template& t, Cell* const* args, Machine& m);

// A part of a run that is no node: an argument or a constant.
inline Cell* TemplateInput(const Template& t, TemplateSlot s, Cell* const* args) {
  return s < t.arguments ? args[s] : t.table[s];
}

// Runs a test's template after the reducer has called its operator, whose
// answer is the machine's focus: builds branch b (0 or 1) alone and makes
// it the focus or, with b = -1, builds both and parks them under the
// answer, as RunTemplate and the call would have left them.
void RunBranch(const Template& t, Cell* const* args, int b, Machine& m);

// Builds a part of a run alone and returns it.
CellRef BuildPart(const Template& t, const TemplatePart& part, Cell* const* args);

// Runs a template and returns the whole body, built.
CellRef BuildTemplate(const Template& t, Cell* const* args);

}  // namespace mox
