// The end of a run (every table and run-long cache emptied, pending `todo`
// applications removed first) and the interrupt: SIGINT is only noted, and
// the reducer calls RunShutdown at its next step.
#include "driver/cleanup.h"

#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "builtins/identity.h"
#include "builtins/text_elements.h"
#include "core/output.h"
#include "defs/globals.h"
#include "defs/prelude.h"
#include "defs/sharing.h"
#include "diag/banner.h"
#include "eval/head_cache.h"
#include "eval/reducer.h"

namespace mox {

volatile std::sig_atomic_t g_interrupted = 0;

namespace {

// The value with every application `todo x y` replaced by "Z"; unchanged
// subgraphs are shared. Iterative, and each shared cell is visited once.
CellRef WithoutTodo(Cell* root) {
  std::unordered_map<Cell*, Cell*> done;  // cell -> its cleaned form (borrowed)
  std::vector<CellRef> made;              // keeps the new cells alive
  std::vector<Cell*> stack{root};
  auto cleaned = [&](Cell* c) -> Cell* {
    if (c->IsLeaf()) return c;
    auto it = done.find(c);
    return it == done.end() ? nullptr : it->second;
  };
  while (!stack.empty()) {
    Cell* c = stack.back();
    if (cleaned(c) != nullptr) {
      stack.pop_back();
      continue;
    }
    if (c->f->IsApp() && IsLeafText(c->f->f, "todo")) {
      made.push_back(MakeLeaf("Z"));
      done[c] = made.back().get();
      stack.pop_back();
      continue;
    }
    Cell* f = cleaned(c->f);
    Cell* a = cleaned(c->a);
    if (f == nullptr) stack.push_back(c->f);
    if (a == nullptr) stack.push_back(c->a);
    if (f == nullptr || a == nullptr) continue;
    stack.pop_back();
    if (f == c->f && a == c->a) {
      done[c] = c;
    } else {
      made.push_back(MakeApp(CellRef::Share(f), CellRef::Share(a)));
      done[c] = made.back().get();
    }
  }
  return CellRef::Share(cleaned(root));
}

}  // namespace

void ClearGlobals() {
  for (auto& [key, value] : Globals()) value = WithoutTodo(value.get());
  ClearGlobalTable();
  EmptyCallDefinitions().clear();
  PreludeSnapshot().clear();
  ClearSharingTable();
  ForgetHeads();
  ReleaseByteElements();
  ReleaseEmptyVector();
}

namespace {
void NoteInterrupt(int) { g_interrupted = 1; }
}  // namespace

void InstallInterruptHandler() {
  struct sigaction action = {};
  action.sa_handler = NoteInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a blocking call returns so the note is seen
  sigaction(SIGINT, &action, nullptr);
}

void RunShutdown() {
  std::signal(SIGINT, SIG_DFL);  // a second interrupt ends the process at once
  g_interrupted = 0;
  ErrorChannel().Write("\n");
  auto shut = Globals().find(std::string_view("shut"));
  if (shut != Globals().end()) {
    CellRef result = Evaluate(shut->second.Copy());
    if (!(result->IsLeaf() && result->Bytes()[0] == 'I')) {
      ErrorChannel().Write(AfterBanner());
    }
  }
  std::exit(1);
}

}  // namespace mox
