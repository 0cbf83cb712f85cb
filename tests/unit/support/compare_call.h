// Helpers for the comparison, list and identity builtin tests: values of
// each class, and calls of a builtin through its BuiltinTable handler.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/run_end.h"
#include "defs/prelude.h"
#include "program/builtin_table.h"

namespace mox::compare_test {

inline CellRef L(std::string_view s) { return MakeLeaf(s); }
inline CellRef Blob(std::string_view s) { return MakeBlob(s.data(), s.size()); }
inline CellRef App(CellRef f, CellRef a) { return MakeApp(std::move(f), std::move(a)); }

// A list of owned cells (braces cannot hold move-only CellRefs).
template <typename... T>
std::vector<CellRef> Cells(T... parts) {
  std::vector<CellRef> cells;
  (cells.push_back(std::move(parts)), ...);
  return cells;
}

// A vector of the given children; a null entry is an empty slot.
inline CellRef VecOf(std::vector<CellRef> children) {
  CellRef v = MakeVector(children.size());
  for (size_t i = 0; i < children.size(); ++i) SetVectorSlot(v.get(), i, children[i].Leak());
  return v;
}
template <typename... T>
CellRef Vec(T... parts) {
  return VecOf(Cells(std::move(parts)...));
}

// The builtin `name` on the given arguments (borrowed: each gets a count).
inline CellRef Call(const char* name, std::vector<Cell*> args) {
  const BuiltinEntry* e = FindBuiltin(name);
  EXPECT_NE(e, nullptr);
  EXPECT_EQ(e->arity, args.size());
  CellRef redex = MakeLeaf(name);
  for (Cell* a : args) redex = MakeApp(std::move(redex), CellRef::Share(a));
  CellRef out;
  e->handler(out, std::move(redex));
  EXPECT_TRUE(out);
  return out;
}

// The answer's text ("<app>" for an application).
inline std::string Text1(const char* name, const CellRef& a) {
  CellRef r = Call(name, {a.get()});
  return r->IsLeaf() ? std::string(LeafView(r.get())) : "<app>";
}
inline std::string Text2(const char* name, const CellRef& a, const CellRef& b) {
  CellRef r = Call(name, {a.get(), b.get()});
  return r->IsLeaf() ? std::string(LeafView(r.get())) : "<app>";
}

// Applications are analysed (data or not), which needs the combinators.
class WithPrelude : public ::testing::Test {
 protected:
  void SetUp() override { LoadPrelude(); }
  void TearDown() override { EndRun(); }
};

}  // namespace mox::compare_test
