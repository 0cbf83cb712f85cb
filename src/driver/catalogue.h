// The catalogue of builtins: every family of the language and of the bridge,
// handed to the BuiltinTable before the first run.
#pragma once

#include <span>

#include "program/builtin_table.h"

namespace mox {

std::span<const BuiltinFamily> BuiltinCatalogue();

// Gives the BuiltinTable the catalogue (enough once per process).
void InstallBuiltinCatalogue();

}  // namespace mox
