// The static checks: a fixed sequence of passes over all definitions that
// prepares the GlobalTable for the reducer, or reports the first problem.
#pragma once

#include "diag/report.h"

namespace mox {

void CheckProgram(Report& report);

}  // namespace mox
