// The static checks in their fixed order, for the program file and loaded
// texts alike. The first failing check fills the report and ends them.
#include "defs/check.h"

#include "core/interrupt.h"
#include "core/work_stack.h"
#include "defs/check_passes.h"
#include "defs/prelude.h"
#include "defs/record_layout.h"
#include "program/sharing.h"

namespace mox {

namespace {

// Stores every definition of a loaded text but its main expression in the
// GlobalTable, replacing what was there. Entries are only ever set, never
// erased, so the reducer's pointers to entries (its head cache, a global
// being evaluated) stay valid under an outer evaluation; what it still uses
// of a replaced definition it holds counts on.
void Merge(const GlobalTable& table, const NameSet& constants) {
  for (const auto& [key, value] : table) {
    if (key.empty()) continue;
    Globals().Set(key, value.Copy());
    if (constants.count(key) != 0) EmptyCallDefinitions().insert(key);
    else EmptyCallDefinitions().erase(key);
  }
}

// The program's checks give way to an interrupt between passes. A loaded
// text's run inside an evaluation, whose next step sees the note.
bool Interrupted(TextOrigin origin) { return origin == TextOrigin::kProgram && InterruptNoted(); }

// The checks that may refuse definitions, before any of them is global.
bool RefuseOrAccept(GlobalTable& table, Report& report, TextOrigin origin) {
  const bool loaded = origin != TextOrigin::kProgram;
  CheckScope scope{table, loaded ? &Globals() : nullptr};
  if (origin == TextOrigin::kRoad && !RefuseGlobalNames(table, report)) return false;
  // The record layouts are the program's: a loaded text neither defines
  // them again nor, through `road`, trips over them as an existing name.
  if (!loaded) DefineRecordLayouts(table);
  ExpandPairLets(table);
  if (Interrupted(origin) || !CheckFunkyKeys(table, report)) return false;
  AliveWording wording = origin == TextOrigin::kRoad ? AliveWording::kRoad : AliveWording::kProgram;
  {
    const ReferenceGraph graph = BuildReferenceGraph(table);
    if (Interrupted(origin) || !CheckLiveness(scope, graph, report, wording)) return false;
    // The program's dead redefinitions of prelude names get the prelude's
    // back; a loaded text's dead definitions are simply not merged.
    PruneDeadCode(scope, graph, loaded ? nullptr : &PreludeSnapshot());
  }
  if (!loaded) PreludeSnapshot().Clear();
  if (Interrupted(origin) || !AllocatePlaces(table, report)) return false;
  return !Interrupted(origin) && CheckArity(table, report);
}

}  // namespace

bool CheckDefinitions(GlobalTable& table, const NameSet& constants, Report& report, TextOrigin origin) {
  const bool loaded = origin != TextOrigin::kProgram;
  const KeepWorkRoom keep;  // each pass walks every definition
  // The program's sharing table is emptied first, to be filled again with
  // the same definitions by the sharing pass: a big program's were entered
  // as they were parsed, but no check needs them there. A cell that a
  // rewrite replaces then goes at once, and the table's room is not taken
  // beside the reference graph's, at the start-up's peak.
  const size_t entries = SharingTableSize();
  if (!loaded) ClearSharingTable();
  if (!RefuseOrAccept(table, report, origin)) return false;
  if (!loaded) SizeSharingTableForRefill(entries);
  // A loaded text's backticks are evaluated before its definitions are
  // merged: they see the globals as they were when the load began.
  EvaluateBackticks(table, !loaded);
  if (Interrupted(origin)) return false;
  if (loaded) {
    Merge(table, constants);
    // The run's sharing table holds the values `tern` has shared: a loaded
    // text adds to it (sharing it afresh would break their identity), after
    // dropping what a changed definition made stale.
    ForgetStaleNames(&table);
  }
  ShareDefinitions(table);
  KeepOnlySharedValues();
  if (loaded) Merge(table, constants);
  if (Interrupted(origin) || !CheckUnboundLocals(table, report)) return false;
  AnalyseDefinitions(table);
  return true;
}

bool CheckProgram(Report& report) {
  return CheckDefinitions(Globals(), EmptyCallDefinitions(), report, TextOrigin::kProgram);
}

}  // namespace mox
