// The BuiltinTable: every native builtin's name, arity and handler. It decides
// which names a program may not define, the arity each builtin gets in the
// GlobalTable, and the handler the reducer calls for a saturated redex.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string_view>

#include "core/text.h"
#include "eval/native.h"

namespace mox {

struct BuiltinEntry {
  uint8_t arity;
  NativeHandler handler;
};

using BuiltinTable = std::map<Text, BuiltinEntry, TextOrder>;

// The table, filled first whenever it is found empty.
BuiltinTable& GetBuiltinTable();
// Empties the table (the next GetBuiltinTable fills it again).
void ResetBuiltinTable();
const BuiltinEntry* FindBuiltin(std::string_view name);

// A family of builtins hands its handlers to the table as a list of these.
struct NativeBinding {
  const char* name;
  NativeHandler handler;
};

// True for a name whose handler is still the "not written yet" stand-in.
bool IsUnwrittenBuiltin(std::string_view name);

}  // namespace mox
