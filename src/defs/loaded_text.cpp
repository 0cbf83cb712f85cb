// Loading text at run time; see loaded_text.h. The text's definitions wait
// in a table of their own until the checks have passed, so a refused text
// leaves the GlobalTable as it was. Everything here may run while an outer
// evaluation is suspended in a native call: all state is local.
#include "defs/loaded_text.h"

#include <algorithm>

#include "defs/check.h"

namespace mox {

namespace {
constexpr int64_t kWayBytes = 72;
}  // namespace

CellRef LoadText(Report& report, Text text, TextOrigin origin) {
  MOX_ASSERT(origin != TextOrigin::kProgram);
  if (origin == TextOrigin::kRoad) report.way = text.Substr(0, std::min(text.size(), kWayBytes));
  GlobalTable table;
  NameSet constants;
  if (!DefineText(report, text, table, constants, origin)) {
    if (report.title == "match") report.way = "yes";
    return CellRef();
  }
  if (!CheckDefinitions(table, constants, report, origin)) return CellRef();
  return table.Find("")->Copy();
}

}  // namespace mox
