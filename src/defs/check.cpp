// CheckProgram: the static checks over the whole GlobalTable, in their fixed
// order. The first failing check fills the report and ends the sequence.
#include "defs/check.h"

#include "defs/check_passes.h"
#include "defs/prelude.h"
#include "defs/record_layout.h"
#include "program/sharing.h"

namespace mox {

void CheckProgram(Report& report) {
  GlobalTable& table = Globals();
  CheckScope scope{table};
  DefineRecordLayouts(table);
  ExpandPairLets(table);
  if (!CheckFunkyKeys(table, report)) return;
  if (!CheckLiveness(scope, report)) return;
  PruneDeadCode(scope, &PreludeSnapshot());
  PreludeSnapshot().Clear();
  if (!AllocatePlaces(table, report)) return;
  if (!CheckArity(table, report)) return;
  EvaluateBackticks(table);
  ClearSharingTable();
  ShareDefinitions(table);
  KeepOnlySharedValues();
  if (!CheckUnboundLocals(table, report)) return;
  AnalyseDefinitions(table);
}

}  // namespace mox
