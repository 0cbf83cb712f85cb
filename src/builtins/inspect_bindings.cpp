// The inspection and conversion builtins' entry in the BuiltinTable.
#include "builtins/inspect_handlers.h"
#include "defs/builtin_bindings.h"

namespace mox {

namespace {

constexpr NativeBinding kInspection[] = {
    {"cork", CorkHandler}, {"init", InitHandler}, {"lisp", LispHandler}, {"lits", LitsHandler},
    {"look", LookHandler}, {"lots", LotsHandler}, {"rank", RankHandler}, {"real", RealHandler},
    {"trim", TrimHandler}, {"type", TypeHandler}, {"wave", WaveHandler},
};

}  // namespace

std::span<const NativeBinding> InspectionBindings() { return kInspection; }

}  // namespace mox
