#include "driver/cleanup.h"

#include <cstdlib>

#include "core/output.h"
#include "defs/globals.h"
#include "diag/banner.h"

namespace mox {

volatile std::sig_atomic_t g_interrupted = 0;

void ClearGlobals() {
  Globals().clear();
  EmptyCallDefinitions().clear();
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
  ErrorChannel().Write("\n");
  // Evaluating `shut` arrives with the reducer.
  std::exit(1);
}

}  // namespace mox
