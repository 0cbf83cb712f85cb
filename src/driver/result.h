// The last step of a run: what the program's value means. An integer is the
// program's answer; a cycle marker, an error value or any other value becomes
// the Report that the entry shows as a Banner.
#pragma once

#include "core/cell.h"
#include "diag/report.h"

namespace mox {

// Consumes `result`.
//   leaf ")" + name          -> "cycle", vip = the shortened name;
//   (leaf "]"... payload)    -> the Report decoded from the payload's text;
//   a value passing the integer test -> stored under "" in the GlobalTable,
//                               the Report left as it is (all-clear);
//   anything else (the error tag leaf "]" + name included) -> "range", with
//                               the display form in say and, shortened, tip.
void ClassifyResult(Report& report, CellRef result);

}  // namespace mox
