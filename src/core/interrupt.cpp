// The SIGINT note and its action; see interrupt.h.
#include "core/interrupt.h"

namespace mox {

volatile std::sig_atomic_t g_interrupted = 0;

namespace {
InterruptAction g_action = nullptr;

void NoteInterrupt(int) { g_interrupted = kInterruptNote; }
}  // namespace

void InstallInterruptHandler(InterruptAction action) {
  g_action = action;
  struct sigaction note = {};
  note.sa_handler = NoteInterrupt;
  sigemptyset(&note.sa_mask);
  note.sa_flags = 0;  // no SA_RESTART: a blocking call returns so the note is seen
  sigaction(SIGINT, &note, nullptr);
}

void SetInterruptAction(InterruptAction action) { g_action = action; }

bool RunInterruptAction() {
  g_interrupted = 0;
  return g_action != nullptr && g_action();
}

}  // namespace mox
