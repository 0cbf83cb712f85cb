// Global definitions: a program text becomes its main expression (under the
// empty name) and its global definitions `name\value`, beside the prelude
// and the builtin placeholders.
#pragma once

#include <string_view>
#include <vector>

#include "core/cell.h"
#include "defs/backtick.h"
#include "diag/report.h"
#include "program/globals.h"

namespace mox {

// Line numbers of the backticks of a raw text, outside text literals, in
// ascending order (a flat list: a big program has hundreds of thousands).
struct BacktickLines {
  std::vector<int64_t> lines;
  size_t next = 0;  // lines[next..] are left

  bool empty() const { return next == lines.size(); }
};
BacktickLines CountBacktickLines(std::string_view raw);

// Stores in every backtick leaf of tree, in pre-order, the smallest line left.
void StampBackticks(Cell* tree, BacktickLines& lines);

// A name as shown in a report: five bytes get ` "` appended (so it cannot be
// read as a place code); longer than 72 bytes is cut to 69 plus "...".
Text ShortenSubject(const Text& name);

// Where a text comes from. The program file and the texts that `load` and
// `road` run go through the same definition rules and checks; the origin
// says what differs: the table they define into (the GlobalTable for the
// program, a table of their own for loaded texts), the wording of reports
// (which `load` never shows), whether names already global are refused.
enum class TextOrigin { kProgram, kLoad, kRoad };

// One piece `NAME\VALUE` after the main expression, defined into `table`.
// Returns false after filling `report` ("lower" or "built"); malformed
// pieces are skipped silently. `constants` receives NAME() definitions.
struct PieceRules {
  bool bracket_builtin_name;  // "Built in function [x]" (program) or "... x" (road)
};
// `defined`, when given, receives the key defined (unchanged when none is).
bool DefinePiece(CellRef tree, int64_t start, GlobalTable& table, NameSet& constants,
                 Report& report, const PieceRules& rules, Text* defined = nullptr);

// The lines of the backticks of a big program shared as it was parsed,
// kept apart from its backtick leaves, which are all one cell (see
// DefineText); empty when its leaves carry their lines. For the backtick
// pass, which takes them.
BacktickLineLists TakeBacktickLineLists();

// The builtin placeholders: n nested lambdas around "Z" for arity n.
void DefineBuiltinPlaceholders();

// The bracket check, then the main expression of `text` under the empty key
// of `table` and every later piece as a definition; `constants` receives the
// NAME() definitions. The program file's origin also defines the builtin
// placeholders first. Once the bracket check has passed, `text` is replaced
// by its normalised form, to which the places of later reports refer.
// Returns false after filling `report`; fields it does not set keep theirs.
bool DefineText(Report& report, Text& text, GlobalTable& table, NameSet& constants, TextOrigin origin);

// The program file, defined into the GlobalTable.
void DefineProgram(Report& report, Text& program);

}  // namespace mox
