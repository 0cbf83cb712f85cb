// Filling the BuiltinTable from the families' rows.
#include "program/builtin_table.h"

namespace mox {

namespace {

std::span<const BuiltinFamily> g_families;

BuiltinTable& Table() {
  static BuiltinTable table;
  return table;
}

void Fill(BuiltinTable& table) {
  for (const BuiltinFamily& family : g_families) {
    for (const BuiltinBinding& b : family) {
      bool added = table.emplace(Text(b.name), BuiltinEntry{b.arity, b.handler, b.on_args, b.read_only, b.on_truth}).second;
      MOX_ASSERT(added);  // a name bound by two families
    }
  }
  MOX_ASSERT(table.size() == kBuiltinCount);
}

}  // namespace

void UseBuiltinFamilies(std::span<const BuiltinFamily> families) { g_families = families; }

BuiltinTable& GetBuiltinTable() {
  BuiltinTable& table = Table();
  if (table.empty()) Fill(table);
  return table;
}

void ResetBuiltinTable() { Table().clear(); }

const BuiltinEntry* FindBuiltin(std::string_view name) {
  BuiltinTable& table = GetBuiltinTable();
  auto it = table.find(name);
  return it == table.end() ? nullptr : &it->second;
}

}  // namespace mox
