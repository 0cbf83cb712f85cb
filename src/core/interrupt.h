// The interrupt note. The SIGINT handler only sets g_interrupted; the reducer
// looks at the note between steps, where every cell and table is consistent,
// and then runs the interrupt action (the driver's: evaluate the program's
// `shut` function and end the process). Nothing is evaluated inside the
// signal handler itself.
#pragma once

#include <csignal>

namespace mox {

extern volatile std::sig_atomic_t g_interrupted;

using InterruptAction = void (*)();

// Installs the SIGINT handler that sets the note, and the action to run.
void InstallInterruptHandler(InterruptAction action);

// Clears the note and runs the action (called at a safe point).
void RunInterruptAction();

}  // namespace mox
