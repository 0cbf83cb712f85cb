// The builtin families of the language, each a list of BuiltinTable rows
// (program/native.h). Each family's folder defines its function; the driver
// hands them all to the BuiltinTable.
#pragma once

#include "program/builtin_table.h"

namespace mox {

BuiltinFamily ArithmeticBuiltins();  // arith/: plus dash mult over cent powa
BuiltinFamily ComparisonBuiltins();  // compare/: less gteq same diff cmpr
BuiltinFamily CharacterBuiltins();   // text/: buck cape zits
BuiltinFamily ListBuiltins();        // text/: leaf left rght
BuiltinFamily MeasureBuiltins();     // inspect/: type rank wave lisp
BuiltinFamily ConversionBuiltins();  // inspect/: real init lits
BuiltinFamily IndexBuiltins();       // inspect/: look cork
BuiltinFamily TrimBuiltins();        // inspect/: trim
BuiltinFamily LotsBuiltins();        // inspect/: lots
BuiltinFamily IdentityBuiltins();    // cells/: bond cray leak raws tern todo
BuiltinFamily RawMemoryBuiltins();   // cells/: copy post
BuiltinFamily IndexedBuiltins();     // indexed/: rec* red* ref* rel* rem*
BuiltinFamily LoaderBuiltins();      // load/: load road


}  // namespace mox
