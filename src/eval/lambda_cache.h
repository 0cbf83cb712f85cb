// Templates for the program's own lambdas. A lambda applied to its
// argument, with the lambdas directly in its body taking the arguments
// parked for them, has all their variables substituted into the innermost
// body (contract.cpp): the same work at every turn of a loop such as
// `Y(f\n\...)`. For a lambda of the program that work is compiled once, on
// its second use, into a template (eval/template.h), as a global's body is.
//
// Only lambdas that the sharing table holds get one. Every definition of
// the program is shared, so each of its lambda nodes is a representative,
// which the table keeps for the whole run: the count a template's line
// holds keeps nothing alive that would otherwise go. A lambda made at run
// time (a body with a value put in) is substituted as before; a template
// held for it would keep the values it holds alive.
#pragma once

#include "core/cell.h"
#include "eval/template.h"

namespace mox {

// The template of `lambda` (an analysed lambda node) taking `depth`
// arguments: its own and one for each of the depth - 1 lambdas nested
// directly in its body. Null when it has none, or none yet.
const Template* LambdaTemplate(Cell* lambda, int depth);

}  // namespace mox
