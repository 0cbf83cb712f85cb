// The text form of a real number, shared by value rendering and by the text
// rules of the arithmetic builtins: C's "%+1.16e" with the exponent widened
// to four digits, so every finite real prints in the same 25-byte layout
// (1.5 is "+1.5000000000000000e+0000"). Infinities and NaNs stay as C prints
// them.
#pragma once

#include "core/text.h"

namespace mox {

Text RealText(double d);

}  // namespace mox
