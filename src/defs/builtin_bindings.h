// The handler lists of the builtin families, one function per family. Each
// family's source file defines its function; the BuiltinTable applies them all.
#pragma once

#include <span>

#include "defs/builtin_table.h"

namespace mox {

// (Families add their declarations here.)
std::span<const NativeBinding> ArithmeticBindings();  // builtins/arith.cpp
std::span<const NativeBinding> InspectionBindings();  // builtins/inspect_bindings.cpp

}  // namespace mox
