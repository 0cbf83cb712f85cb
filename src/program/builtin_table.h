// The BuiltinTable: every native builtin's name, arity and handler. It decides
// which names a program may not define, the arity each builtin gets in the
// GlobalTable, and the handler the reducer calls for a saturated redex.
//
// The table does not know the builtins itself: the families above this layer
// each hand over a list of rows (native.h), and the driver gives the table
// the whole catalogue once, before the first run.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "program/native.h"

namespace mox {

struct BuiltinEntry {
  uint8_t arity;
  NativeHandler handler;
  NativeArgsHandler on_args;  // null: call it with its redex
  bool read_only;  // changes no memory and runs no program code
  NativeTruthHandler on_truth;  // a comparison's bool (see native.h), or null
};

// The rows by name, in byte order (Text's); the names are the families'
// own static strings.
struct BuiltinRow {
  std::string_view name;
  BuiltinEntry entry;
};
using BuiltinTable = std::vector<BuiltinRow>;
using BuiltinFamily = std::span<const BuiltinBinding>;

// The number of builtins the language has.
constexpr size_t kBuiltinCount = 256;

// The families the table is filled from (kept by reference; they are
// static lists).
void UseBuiltinFamilies(std::span<const BuiltinFamily> families);

// The table, filled first whenever it is found empty. Every name is bound
// exactly once, and there are kBuiltinCount of them.
BuiltinTable& GetBuiltinTable();
// Empties the table (the next GetBuiltinTable fills it again).
void ResetBuiltinTable();
const BuiltinEntry* FindBuiltin(std::string_view name);

}  // namespace mox
