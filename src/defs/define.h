// Global definitions: a program text becomes its main expression (under the
// empty name) and its global definitions `name\value`, beside the prelude
// and the builtin placeholders.
#pragma once

#include <set>
#include <string_view>

#include "core/cell.h"
#include "diag/report.h"
#include "program/globals.h"

namespace mox {

// Line numbers of the backticks of a raw text, outside text literals.
using BacktickLines = std::multiset<int64_t>;
BacktickLines CountBacktickLines(std::string_view raw);

// Stores in every backtick leaf of tree, in pre-order, the smallest line left.
void StampBackticks(Cell* tree, BacktickLines& lines);

// A name as shown in a report: five bytes get ` "` appended (so it cannot be
// read as a place code); longer than 72 bytes is cut to 69 plus "...".
Text ShortenSubject(const Text& name);

// One piece `NAME\VALUE` after the main expression, defined into `table`.
// Returns false after filling `report` ("lower" or "built"); malformed
// pieces are skipped silently. `constants` receives NAME() definitions.
struct PieceRules {
  bool bracket_builtin_name;  // "Built in function [x]" (program) or "... x" (road)
};
bool DefinePiece(CellRef tree, int64_t start, GlobalTable& table, NameSet& constants,
                 Report& report, const PieceRules& rules);

// The builtin placeholders: n nested lambdas around "Z" for arity n.
void DefineBuiltinPlaceholders();

void DefineProgram(Report& report, Text& program);

}  // namespace mox
