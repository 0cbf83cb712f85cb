// The expression parser: normalised, bracket-checked text to a tree of
// cells. Infix operators on eight tiers (loosest first: ; \ {  |  ? newline
// |  & |  |  = < > #  |  @ space  |  + - : .  |  * / % '  |  ^), then
// postfix, prefix and embedded affix operators (~ ! " $ `), then tight
// juxtaposition with call lists g(a,b). An operator op between L and R
// becomes ((op L) R) with op a one-byte leaf; a space is the plain
// application (L R); the empty text is the leaf "}".
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/cell.h"
#include "core/text.h"
#include "front/charset.h"

namespace mox {

// Offsets, ascending, of the bytes of `text` in `set` that lie outside every
// bracket group. An opening bracket is itself still tested.
std::vector<int64_t> FindTopLevel(std::string_view text, const ByteSet& set);

// Where the parser gets its leaves: by default each is a new cell. A
// program's definitions are parsed with a maker that hands out one shared
// cell per text, so that a name or operator used a hundred thousand times
// is one cell from the start (the backtick leaf, which the definitions stamp
// with its line, is always made apart).
using LeafMaker = CellRef (*)(std::string_view bytes);

// The tree of one expression. The text must have balanced brackets
// (CheckBrackets); anything else is an internal assertion. Works without
// host recursion at any nesting depth, in time linear in the text size.
CellRef ParseExpression(std::string_view text, LeafMaker make_leaf = nullptr);
inline CellRef ParseExpression(const Text& text) { return ParseExpression(text.view()); }
inline CellRef ParseExpression(const char* text) { return ParseExpression(std::string_view(text)); }

}  // namespace mox
