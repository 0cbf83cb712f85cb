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
// Zero until used (its pages are the system's until then).
LambdaLine lines[kLines];

LambdaLine& LineOf(const Cell* lambda, int depth) {
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
  for (size_t i = 0; i < kLines; ++i)
    if (lines[i].lambda != nullptr) Empty(lines[i]);
}

const bool kReleased = AtRunEnd(ForgetLambdas);

}  // namespace

namespace {

// LambdaTemplate when the line is not ready: the template compiled on the
// second use, or the line taken over on the first. A line of a cell that
// is not shared holds no count: should the address come back as a lambda
// the table holds, that lambda merely goes without.
[[gnu::noinline]] const Template* LambdaTemplateMiss(LambdaLine& line, Cell* lambda, int depth) {
  if (line.lambda == lambda && line.depth == depth) {
    if (!line.shared) return nullptr;
    line.instance = Compile(lambda, depth);
    return line.instance->ready ? line.instance : nullptr;
  }
  // First use: the line is taken over, and the lambda substituted this once.
  Empty(line);
  line.lambda = lambda;
  line.depth = depth;
  line.shared = IsSharedApplication(lambda);
  if (line.shared) Retain(lambda);
  return nullptr;
}

}  // namespace

// The hit calls nothing, and so needs no stack frame.
const Template* LambdaTemplate(Cell* lambda, int depth) {
  LambdaLine& line = LineOf(lambda, depth);
  if (line.lambda == lambda && line.depth == depth && (!line.shared || line.instance != nullptr)) [[likely]] {
    if (!line.shared) return nullptr;
    return line.instance->ready ? line.instance : nullptr;
  }
  return LambdaTemplateMiss(line, lambda, depth);
}

}  // namespace mox
