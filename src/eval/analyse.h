// Cell analysis: the facts the reducer asks about every cell, computed once
// and cached in the cell header (analysis value, pending/data flag, and the
// set of free variables a..z).
#pragma once

#include "core/cell.h"

namespace mox {

// Fills the cache of c and of every unanalysed cell below it.
void AnalyseUnanalysed(Cell* c);
inline void AnalyseCell(Cell* c) {
  if (!c->Analysed()) AnalyseUnanalysed(c);
}

// Makes the application f a and analyses it at once; both parts must be
// analysed already (as every value and every analysed cell's part is).
CellRef MakeAnalysedApp(CellRef f, CellRef a);

// Data (a finished, applicable value), or a cell with no redex inside that
// still needs arguments (a partial application or a lambda).
inline bool IsValue(Cell* c) {
  AnalyseCell(c);
  return c->IsData() || (!c->Flag() && c->AnalysisValue() >= 1);
}

// Free variables of an analysed cell (0 for data and literal leaves).
inline uint32_t VariableSet(const Cell* c) {
  if (c->IsData()) return 0;
  if (c->IsLeaf()) {
    unsigned char b = c->Bytes()[0];
    if (IsDigit(b) || b == '[' || b == kVectorByte) return 0;
  }
  return c->Field();
}

// Whether the head of c's spine is one of the non-duplicating combinators
// that fire without reducing their arguments.
bool HasLazyHead(const Cell* c);

// 'u' for a lambda node ((\ v) z), 'i' for a let node ((({ v) y) z), else 'o'.
char BinderShape(const Cell* c);

// A text leaf that names something (a global, an operator, a variable).
bool IsNameLeafText(std::string_view s);

}  // namespace mox
