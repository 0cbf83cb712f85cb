// The six arithmetic operators on numbers: integers exactly, `numb`s
// exactly, reals by IEEE double operations, and the mixing rules between
// the classes.
#pragma once

#include "core/cell.h"
#include "values/operand.h"

namespace mox {

enum class ArithOp { kPlus, kDash, kMult, kOver, kCent, kPowa };

// op applied to two number operands (integers, numbs and reals); null when the
// operator has no result for them (a zero divisor, `numb` division, ...).
CellRef NumberArithmetic(ArithOp op, const Operand& a, const Operand& b);

// op applied to two integers taken apart.
CellRef IntegerArithmetic(ArithOp op, const IntText& a, const IntText& b);

}  // namespace mox
