// The Reducer: turns a closed expression into a value by small rewrite steps.
//
// The machine's state is a focus (the expression being reduced) and a
// continuation: what to do with the focus once it is a value. The
// continuation is a stack of frames kept in a heap vector, so the depth of
// the program being run never deepens the host's call stack. There are three
// frames, each the equivalent of one combinator continuation:
//   Park  (B C (T a))      : then reduce  v a   (a surplus argument, parked)
//   Apply (B C F)          : then reduce  F v   (v was F's last argument)
//   Let   (B C ((\ x) z))  : then reduce  z[x := v]
// Lazy combinators fire with their arguments untouched; every other head
// first has the redexes inside its arguments reduced, first to last.
#pragma once

#include <cstdint>

#include "core/cell.h"

namespace mox {

// Reduces a closed expression to its value (consumes the expression).
// Re-entrant: a native handler may evaluate another expression.
CellRef Evaluate(CellRef expression);

// Reduction steps taken so far in this process (for benchmarks).
uint64_t ReductionSteps();

// Lets go of all that the evaluations in progress hold, for a run that
// ends inside one (an interrupt) and never returns to them.
void DropEvaluations();

}  // namespace mox
