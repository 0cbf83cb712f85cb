// The handler lists of the builtin families, one function per family. Each
// family's source file defines its function; the BuiltinTable applies them all.
#pragma once

#include <span>

#include "defs/builtin_table.h"

namespace mox {

// (Families add their declarations here.)
std::span<const NativeBinding> ArithmeticBindings();  // builtins/arith.cpp
std::span<const NativeBinding> InspectionBindings();  // builtins/inspect_bindings.cpp
std::span<const NativeBinding> ComparisonBindings();  // builtins/compare.cpp
std::span<const NativeBinding> ListBindings();        // builtins/lists.cpp
std::span<const NativeBinding> CharacterBindings();   // builtins/char_texts.cpp
std::span<const NativeBinding> IdentityBindings();    // builtins/identity.cpp
std::span<const NativeBinding> RawMemoryBindings();   // builtins/raw_memory.cpp

}  // namespace mox
