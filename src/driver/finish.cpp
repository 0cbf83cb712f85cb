// The end of a run: pending `todo` applications removed, every table emptied;
// and the interrupt action, which runs the program's `shut` function.
#include "driver/finish.h"

#include <csignal>
#include <cstdlib>

#include "core/output.h"
#include "core/graph_fold.h"
#include "core/graph_walk.h"
#include "core/interrupt.h"
#include "core/run_end.h"
#include "diag/banner.h"
#include "eval/reducer.h"
#include "program/globals.h"

namespace mox {

namespace {

bool IsTodoApplication(const Cell* c) { return c->IsApp() && c->f->IsApp() && IsLeafText(c->f->f, "todo"); }

// Whether the graph holds an application `todo x y`: most hold none, and
// looking costs less than rebuilding, which copies a count of every cell.
bool HoldsTodo(const Cell* root) { return SearchGraph(root, IsTodoApplication); }

// The value with every application `todo x y` replaced by "Z"; unchanged
// subgraphs stay shared.
CellRef WithoutTodo(Cell* root) {
  auto leaf = [](Cell* c) { return CellRef::Share(c); };
  auto app = [](Cell* c, CellRef f, CellRef a) {
    if (IsTodoApplication(c)) return MakeLeaf("Z", 1);
    return KeepOrRebuild(c, std::move(f), std::move(a));
  };
  return RebuildBottomUp(root, leaf, app);
}

}  // namespace

void FinishRun() {
  for (auto& [key, value] : Globals()) {
    if (HoldsTodo(value.get())) value = WithoutTodo(value.get());
  }
  EndRun();
}

namespace {

[[noreturn]] void EndInterrupted(const CellRef* shut) {
  // A second interrupt ends the process at once; one that came before the
  // default action was back is only noted, and `shut` runs once.
  SetInterruptAction(nullptr);
  std::signal(SIGINT, SIG_DFL);
  ErrorChannel().Write("\n");
  if (shut != nullptr) {
    CellRef result = Evaluate(shut->Copy());
    if (!(result->IsLeaf() && result->Bytes()[0] == 'I')) ErrorChannel().Write(AfterBanner());
  }
  // The run ends inside the evaluations it interrupted: what they and the
  // tables hold is let go, as at the end of a finished run (what only a
  // vector holds would read as lost to a leak checker otherwise).
  DropEvaluations();
  EndRun();
  std::exit(1);
}

}  // namespace

void Shutdown() { EndInterrupted(Globals().Find("shut")); }

void ShutdownUnchecked() { EndInterrupted(nullptr); }

}  // namespace mox
