// Error values: how a Report travels through evaluation. The value is the
// application of the error tag leaf "]" to a bracketed text
//   "['" + "[\"" say "]" + "[\"" title "]" + "[\"" vip "]" + "[\"" tip "]"
//        + "[\"" way "]" + "]"
// which the run driver decodes back into the Report. The fields are found
// again by bracket matching, so a square bracket without a partner inside a
// field is stored as its symbolic code, which the Banner shows the same.
#pragma once

#include <string_view>

#include "core/cell.h"
#include "diag/report.h"

namespace mox {

CellRef MakeErrorValue(const Report& report);

// Whether r is taken for an error value: an application whose function
// part is a leaf starting with "]", whatever its argument holds.
inline bool IsErrorValue(const Cell* r) { return r->IsApp() && r->f->IsLeaf() && r->f->First() == kErrorByte; }

// The Report held by the text of an error value's argument. Text that does
// not follow the layout is an internal error (an unclosed bracket, or a
// field that does not start with "[").
Report DecodeErrorValue(std::string_view t);

// Whether t follows that layout. A program can apply a leaf starting with
// "]" to any value (an undefined name answers such a leaf, and so does an
// error value applied to a further argument), and the language makes
// decoding one whose argument's text is not laid out so an internal error,
// as it does the display of a byte with no visible form.
bool IsErrorValueText(std::string_view t);

}  // namespace mox
