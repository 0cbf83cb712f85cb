// The lambda templates: a direct-mapped cache by lambda cell and depth.
#include "eval/lambda_cache.h"

#include <cstdint>

#include "core/run_end.h"
#include "front/binders.h"
#include "program/sharing.h"

namespace mox {

namespace {

struct LambdaLine {
  Cell* lambda;          // a count is held when `shared`
  int depth;
  bool shared;           // a representative: may have a template
  Template* instance;    // compiled on second use (null before; maybe not ready)
};

constexpr size_t kLines = 1024;
// Made on first use and never destroyed: most runs apply few lambdas twice.
LambdaLine* lines = nullptr;

LambdaLine& LineOf(const Cell* lambda, int depth) {
  if (lines == nullptr) [[unlikely]] lines = new LambdaLine[kLines]();
  const auto p = reinterpret_cast<uintptr_t>(lambda) >> 3;
  return lines[(p ^ (p >> 10) ^ static_cast<uintptr_t>(depth) * 0x9E37) & (kLines - 1)];
}

void Empty(LambdaLine& line) {
  if (line.shared) Release(line.lambda);
  delete line.instance;
  line = LambdaLine{};
}

Template* Compile(Cell* lambda, int depth) {
  unsigned char letters[kMaxParameters];
  uint32_t mask;
  Cell* body = LambdaLetters(lambda, depth, letters, &mask);
  auto* t = new Template;
  CompileTemplate(body, letters, depth, *t);
  return t;
}

// A line left as the run ended would hold its lambda (and the template its
// strict code's constants) past the run's leak check.
void ForgetLambdas() {
  if (lines == nullptr) return;
  for (size_t i = 0; i < kLines; ++i)
    if (lines[i].lambda != nullptr) Empty(lines[i]);
}

const bool kReleased = AtRunEnd(ForgetLambdas);

}  // namespace

const Template* LambdaTemplate(Cell* lambda, int depth) {
  LambdaLine& line = LineOf(lambda, depth);
  if (line.lambda == lambda && line.depth == depth) [[likely]] {
    if (!line.shared) return nullptr;
    if (line.instance == nullptr) line.instance = Compile(lambda, depth);
    return line.instance->ready ? line.instance : nullptr;
  }
  // First use: the line is taken over, and the lambda substituted this once.
  // A line of a cell that is not shared holds no count: should the address
  // come back as a lambda the table holds, that lambda merely goes without.
  Empty(line);
  line.lambda = lambda;
  line.depth = depth;
  line.shared = IsSharedApplication(lambda);
  if (line.shared) Retain(lambda);
  return nullptr;
}

}  // namespace mox
