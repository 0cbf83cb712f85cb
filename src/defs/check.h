// The static checks: a fixed sequence of passes over all definitions that
// prepares them for the reducer, or reports the first problem. The program
// file's definitions are checked where they stand, in the GlobalTable; a
// text loaded at run time is checked in a table of its own and merged into
// the GlobalTable once nothing can refuse it any more.
#pragma once

#include "defs/define.h"
#include "diag/report.h"
#include "program/globals.h"

namespace mox {

// Checks the definitions of `table` (the GlobalTable for the program file,
// a loaded text's own table otherwise, with the GlobalTable's names counting
// as defined). Returns false after filling `report` with the first problem.
//
// A loaded text is merged into the GlobalTable after the checks that may
// refuse it (roads, funky, alive, place, arity) and the evaluation of its
// backticks, which see the globals as the load found them, and before it is
// shared; from then on the merged entries follow every rewrite, so that the
// unbound-local check and the analysis look at what the GlobalTable holds.
// A failure up to the merge leaves the GlobalTable as it was; the merge
// stays in effect after a later one. Its constant definitions (`constants`)
// join EmptyCallDefinitions; its other definitions leave it.
//
// The program file's checks stop between passes when an interrupt is noted
// (false, with the report still all clear): the driver then ends the run.
bool CheckDefinitions(GlobalTable& table, const NameSet& constants, Report& report, TextOrigin origin);

// The program file's checks, over the whole GlobalTable; false when they
// failed or gave way to an interrupt.
bool CheckProgram(Report& report);

}  // namespace mox
