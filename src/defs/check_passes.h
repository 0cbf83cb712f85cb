// The passes of the static checks, each over one definition table in key
// order (the main expression, under the empty key, first). CheckProgram runs
// them on the GlobalTable; the run-time loaders run them on a table of newly
// loaded definitions, with the GlobalTable's names counting as defined.
// A checking pass returns false after filling the report with the first
// problem it finds; a rewriting pass replaces definitions in place.
#pragma once

#include <string_view>

#include "diag/report.h"
#include "program/globals.h"

namespace mox {

// The table being checked, and the names defined outside it: those count as
// defined, but their definitions are not examined.
struct CheckScope {
  GlobalTable& table;
  const GlobalTable* outer = nullptr;

  bool Defines(std::string_view name) const {
    return table.Contains(name) || (outer != nullptr && outer->Contains(name));
  }
};

// "roads": a definition of a name the GlobalTable already has (the strict
// loader never replaces a global).
bool RefuseGlobalNames(const GlobalTable& table, Report& report);

// Pair lets `p q{y}z` become three plain lets (see pair_let.h).
void ExpandPairLets(GlobalTable& table);

// "funky": a lambda whose variable is not a definable name.
bool CheckFunkyKeys(const GlobalTable& table, Report& report);

// "alive": every name reachable from the main expression must be defined.
// The road loader words the message "references undefined function".
enum class AliveWording { kProgram, kRoad };
bool CheckLiveness(const CheckScope& scope, Report& report, AliveWording wording = AliveWording::kProgram);

// Removes every definition that mentions an undefined name, or reaches one
// through references (dead code, once liveness has passed). A removed name
// that `restore_from` defines gets that definition back instead.
void PruneDeadCode(const CheckScope& scope, const GlobalTable* restore_from);

// "place": at most 26 local names per definition; the names that are not
// single lower-case letters are renamed to the smallest free letters.
bool AllocatePlaces(GlobalTable& table, Report& report);

// "arity": at most ten leading parameters.
bool CheckArity(const GlobalTable& table, Report& report);

// Backtick expressions: closed ones are evaluated now, open ones become
// records of their line, function and text (see backtick.h). Analysis and
// evaluation look names up in the GlobalTable, so every name the table's
// backtick expressions use must be defined there by then.
void EvaluateBackticks(GlobalTable& table);

// Replaces every definition by its copy from the sharing table (sharing.h).
void ShareDefinitions(GlobalTable& table);

// "local": no definition may have a free variable.
bool CheckUnboundLocals(GlobalTable& table, Report& report);

// Fills the analysis cache of every definition.
void AnalyseDefinitions(GlobalTable& table);

}  // namespace mox
