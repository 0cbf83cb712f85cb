// Instantiation templates. Instantiating a global substitutes its arguments
// into its body, rebuilding just the nodes that hold a parameter. For a body
// of modest size that work is the same every time, so it is compiled once,
// when the definition is first used, into a short postfix program: push an
// argument, push an unchanged part of the body, or apply the two topmost.
// Running it allocates exactly the rebuilt nodes and analyses each at once.
#pragma once

#include <cstdint>
#include <vector>

#include "core/cell.h"

namespace mox {

struct TemplateOp {
  enum Kind : uint8_t { kArgument, kConstant, kApply } kind;
  uint8_t argument;
  Cell* constant;  // borrowed from the definition the template was made from
};

struct Template {
  std::vector<TemplateOp> ops;  // empty: no template (use substitution)
  int depth = 0;                // stack slots needed
};

constexpr int kTemplateMaxDepth = 64;
constexpr size_t kTemplateMaxOps = 1024;

// Compiles body for the parameters letters[0..k) (a later one of the same
// letter wins); leaves `out` empty when the body is too large or too deep.
void CompileTemplate(Cell* body, const unsigned char* letters, int k, Template& out);

// Runs a template on the arguments (borrowed, analysed values).
CellRef RunTemplate(const Template& t, Cell* const* args);

}  // namespace mox
