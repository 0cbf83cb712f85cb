// Program text loaded at run time (the builtins `load` and `road`): a main
// expression and definitions in the program file's format, defined and
// checked by the same rules and merged into the GlobalTable.
#pragma once

#include "core/cell.h"
#include "defs/define.h"
#include "diag/report.h"

namespace mox {

// Defines, checks and merges `text` (origin kLoad or kRoad) and returns its
// main expression, ready to be evaluated; null after filling `report` with
// the first problem. For `road` the report's `way` holds the first 72 bytes
// of the text, or "yes" when the brackets do not match.
CellRef LoadText(Report& report, Text text, TextOrigin origin);

}  // namespace mox
