// End-of-run clean-up and the interrupt (SIGINT) machinery.
#pragma once

#include <csignal>

namespace mox {

// Empties the GlobalTable (and the other run-long name tables).
void ClearGlobals();

// SIGINT only notes the signal; the reducer checks the note at a safe point
// between steps and then runs the program's `shut` function (RunShutdown).
extern volatile std::sig_atomic_t g_interrupted;
void InstallInterruptHandler();
[[noreturn]] void RunShutdown();

}  // namespace mox
