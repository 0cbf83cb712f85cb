// Filling the BuiltinTable from the families' rows.
#include "program/builtin_table.h"

#include <algorithm>

namespace mox {

namespace {

std::span<const BuiltinFamily> g_families;

BuiltinTable& Table() {
  static BuiltinTable table;
  return table;
}

bool ByName(const BuiltinRow& x, const BuiltinRow& y) { return x.name < y.name; }

void Fill(BuiltinTable& table) {
  table.reserve(kBuiltinCount);
  for (const BuiltinFamily& family : g_families) {
    for (const BuiltinBinding& b : family)
      table.push_back({b.name, BuiltinEntry{b.arity, b.handler, b.on_args, b.read_only, b.on_truth}});
  }
  std::sort(table.begin(), table.end(), ByName);
  MOX_ASSERT(table.size() == kBuiltinCount);
  MOX_ASSERT(std::adjacent_find(table.begin(), table.end(), [](const BuiltinRow& x, const BuiltinRow& y) {
               return x.name == y.name;  // a name bound by two families
             }) == table.end());
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
  auto it = std::lower_bound(table.begin(), table.end(), BuiltinRow{name, {}}, ByName);
  return it == table.end() || it->name != name ? nullptr : &it->entry;
}

}  // namespace mox
