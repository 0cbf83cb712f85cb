// Run-long cells handed out by the identity builtins.
#pragma once

#include "core/cell.h"

namespace mox {

// The empty vector of `cray`: one cell made at the first call and kept for
// the run; every call returns it with a new count.
CellRef EmptyVector();

// Lets the kept empty vector go (end of run); the next call makes a new one.
void ReleaseEmptyVector();

}  // namespace mox
