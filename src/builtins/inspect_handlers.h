// Handlers of the inspection and conversion builtins, in the native calling
// convention (eval/native.h). Each answers "Z" for an argument it does not
// accept; none of them reports an error.
#pragma once

#include "eval/native.h"

namespace mox {

// inspect_measure.cpp: the class name, size, negation and printed form.
CellRef& TypeHandler(CellRef& out, CellRef redex);
CellRef& RankHandler(CellRef& out, CellRef redex);
CellRef& WaveHandler(CellRef& out, CellRef redex);
CellRef& LispHandler(CellRef& out, CellRef redex);

// inspect_convert.cpp: conversions to a real, a blob and a number.
CellRef& RealHandler(CellRef& out, CellRef redex);
CellRef& InitHandler(CellRef& out, CellRef redex);
CellRef& LitsHandler(CellRef& out, CellRef redex);

// inspect_index.cpp: reading and replacing one element or bit.
CellRef& LookHandler(CellRef& out, CellRef redex);
CellRef& CorkHandler(CellRef& out, CellRef redex);

// inspect_trim.cpp: slices.
CellRef& TrimHandler(CellRef& out, CellRef redex);

// inspect_lots.cpp: a value as a list of its bits, bytes or children.
CellRef& LotsHandler(CellRef& out, CellRef redex);

}  // namespace mox
