// What a definition mentions: the global names it refers to, and the way a
// key is shown in messages. Shared by the static checks and the run-time
// loaders, which run the same checks on newly loaded text.
#pragma once

#include <string_view>
#include <vector>

#include "core/cell.h"
#include "core/text.h"

namespace mox {

// Names in key order, without repeats.
using NameList = std::vector<Text>;

// The names that tree mentions and that none of its own binders binds. A
// leaf is a name when its text is a run of "_" and lower-case letters, or
// one byte that is an upper-case letter, a control code other than the
// newline, a byte of 127 or more, or an operator-name character; numbers and
// text literals are not names. Binder variables are not references, and a
// name bound anywhere in the tree is not a reference anywhere in it.
NameList CollectReferences(const Cell* tree);

// The same names as views of the tree's leaf texts, valid while the tree lives.
std::vector<std::string_view> ReferenceViews(const Cell* tree);

// A one-byte operator-name key shown as "[" + key + "]"; any other key as itself.
Text DisplayName(std::string_view key);
// Whether DisplayName brackets key.
bool ShownInBrackets(std::string_view key);

}  // namespace mox
