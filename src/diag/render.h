// The display form of a value: source-like text that shows what a cell holds,
// used in messages ("range" reports), by the static checks and by `lisp`.
#pragma once

#include "core/cell.h"
#include "core/text.h"
#include "diag/shorten.h"

namespace mox {

// Leaves show as their text, with these exceptions: cycle markers and error
// tags as "()"; a vector as "cray" wrapped once per element in
// "(/ " ... " " element ")"; an empty vector slot as "U" (the leaf that
// `over` turns into an empty slot); a real as "real[" + RealText + "]"; a blob
// as "cape[" + its bytes with newline, "[" and "]" escaped as [p], [q], [r]
// + "]". An application (f a) joins the forms F and A by the first rule that
// applies:
//   1. F starts "(" and its second byte is not ")": F less its last byte,
//      " ", A, ")" (the argument joins the open call list);
//   2. A starts "[" and the bracket closing it is A's last byte: F A;
//   3. A is not one token (a later byte of another class than its first, or a
//      mark): "(" F " " A ")";
//   4. F ends in a letter and A is a name, or F ends in a digit and A is a
//      number: "(" F " " A ")";
//   5. F A.
// Classes: "_" and a..z letters, 0..9 digits, every other byte a mark.
// Works without host recursion, in time proportional to the output; an
// interrupt noted meanwhile cuts it short, with an empty text.
Text DisplayForm(const Cell* c);

}  // namespace mox
