// The interrupt note. The SIGINT handler only sets g_interrupted; the reducer
// looks at the note between steps, where every cell and table is consistent,
// and then runs the interrupt action (the driver's: evaluate the program's
// `shut` function and end the process). Nothing is evaluated inside the
// signal handler itself.
//
// The note has two values besides 0. kInterruptNote means "stop": SIGINT, or
// a harness that wants the evaluation over. A builtin that may run for long
// (a power, a huge repeat) looks at InterruptNoted() between its rounds and
// gives up with "Z", so that the reducer reaches its next step soon.
// kStepNote only asks the action to run at the next step; a fuzz harness
// sets it to count steps against a budget, and builtins ignore it.
#pragma once

#include <csignal>
#include <cstdint>

namespace mox {

constexpr std::sig_atomic_t kInterruptNote = 1;
constexpr std::sig_atomic_t kStepNote = 2;

extern volatile std::sig_atomic_t g_interrupted;

inline bool InterruptNoted() { return g_interrupted == kInterruptNote; }

// For a long loop: looks at the note once every 65536 calls, counted in
// `calls`.
inline bool InterruptNotedEvery(uint64_t& calls) { return (++calls & 0xFFFF) == 0 && InterruptNoted(); }

// The action runs at a step where the note was set. The driver's never
// returns; a harness's returns true when the evaluation must end (Evaluate
// then answers "Z" at once, releasing its whole state), false to go on.
using InterruptAction = bool (*)();

// Installs the SIGINT handler that sets the note, and the action to run.
void InstallInterruptHandler(InterruptAction action);

// Sets the action without touching the signal disposition (a harness).
void SetInterruptAction(InterruptAction action);

// Clears the note and runs the action (called at a safe point); true when
// the evaluation must end.
bool RunInterruptAction();

}  // namespace mox
