// The Prelude: the one-letter combinators and the operator bindings, written
// in the language itself and defined before every program.
#pragma once

#include "program/globals.h"

namespace mox {

extern const char kPreludeText[];

// Resets the global tables, rebuilds the BuiltinTable and defines the prelude.
void LoadPrelude();

// The GlobalTable as it stood right after the prelude (the static checks
// restore prelude definitions from it).
GlobalTable& PreludeSnapshot();

}  // namespace mox
