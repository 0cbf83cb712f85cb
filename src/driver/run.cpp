// The run driver: static checks, then the main expression applied to the
// address of the program's own arguments, reduced to a value and judged.
#include "bridge/platform/arguments.h"
#include "core/interrupt.h"
#include "defs/check.h"
#include "driver/finish.h"
#include "driver/result.h"
#include "driver/stages.h"
#include "eval/reducer.h"
#include "program/globals.h"
#include "values/int_convert.h"

namespace mox {

// args is main()'s own argument vector past the program file: null-terminated,
// an empty argument an empty string like any other. It lives as long as the
// process, so the address handed to the program stays valid for the whole
// run (and for `shut`); programs read it with the ref builtins, in 8-byte
// entries (bridge/platform/arguments.h).
void RunProgram(Report& report, char** args) {
  if (!CheckProgram(report)) return;
  SetInterruptAction([]() -> bool { Shutdown(); });  // `shut` has passed the checks
  CellRef address = MakeInt64(ProgramArgumentAddress(args));
  CellRef* entry = Globals().Find("");
  if (entry == nullptr) entry = &Globals().Set(Text(), MakeLeaf("8"));
  CellRef result = Evaluate(MakeApp(entry->Copy(), std::move(address)));
  ClassifyResult(report, std::move(result));
}

}  // namespace mox
