// The end of a successful run, and of an interrupted one.
#pragma once

namespace mox {

// Replaces every `todo x y` application left in the GlobalTable by "Z", then
// lets every run-long table go (core/run_end.h): the table is empty after.
void FinishRun();

// The interrupt action: evaluates the program's `shut` function, shows the
// "after" banner unless it returned I, and ends the process with code 1.
[[noreturn]] void Shutdown();

// The same end for a program whose checks failed or were cut short: its
// `shut` is not fit to run, so there is only the newline and code 1.
[[noreturn]] void ShutdownUnchecked();

}  // namespace mox
