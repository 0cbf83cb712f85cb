// The start-up stages that the entry runs in order. Each fills a Report;
// the first that is not all-clear ends the run with its Banner.
#pragma once

#include "core/text.h"
#include "defs/define.h"
#include "defs/prelude.h"
#include "diag/report.h"

namespace mox {

// Static checks, evaluation of the main expression applied to `args` (the
// address of the program's own argument vector), and the result test. Once
// the checks have passed, an interrupt runs the program's `shut`.
void RunProgram(Report& report, char** args);

}  // namespace mox
