// The end of a run. Tables and caches that live for a whole run and hold
// cells (the global tables, the sharing table, the head cache, the shared
// one-byte leaves, ...) register how to let go of them; EndRun calls every
// registered release, so that nothing is left holding a count and the next
// run (a test, say) starts from nothing. Each table registers itself once,
// from a static initialiser next to its own definition.
#pragma once

namespace mox {

using RunEndRelease = void (*)();

// Adds a release; returns true so that it can initialise a static flag.
bool AtRunEnd(RunEndRelease release);

// Calls every registered release, last registered first.
void EndRun();

}  // namespace mox
