#include "driver/cleanup.h"

#include <cstdlib>

#include "core/output.h"
#include "defs/globals.h"
#include "diag/banner.h"
#include "eval/head_cache.h"
#include "eval/reducer.h"

namespace mox {

volatile std::sig_atomic_t g_interrupted = 0;

void ClearGlobals() {
  ClearGlobalTable();
  EmptyCallDefinitions().clear();
  ForgetHeads();
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
      ErrorChannel()
          .Write(kBannerTop)
          .Write(BannerTitleLine("after"))
          .Write(kBannerBottom)
          .Write(" <say> The shut function did not return I after SIGHUP.\n");
    }
  }
  std::exit(1);
}

}  // namespace mox
