// Test helpers for builtins: values of every class, calls through the
// BuiltinTable's handlers exactly as the reducer makes them, and results
// shown as text.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/run_end.h"
#include "defs/prelude.h"
#include "diag/render.h"
#include "program/builtin_table.h"
#include "support/tree_notation.h"
#include "values/int_convert.h"
#include "values/value_class.h"

namespace mox::builtin_test {

inline CellRef L(std::string_view s) { return MakeLeaf(s); }
inline CellRef Real(double d) { return MakeReal(d); }
inline CellRef Blob(std::string_view s) { return MakeBlob(s.data(), s.size()); }
inline CellRef App(CellRef f, CellRef a) { return MakeApp(std::move(f), std::move(a)); }
inline CellRef Tree(std::string_view s) { return testing_notation::Tree(s); }
inline CellRef Addr(const void* p) { return MakeInt64(static_cast<int64_t>(reinterpret_cast<uintptr_t>(p))); }

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

// The builtin `name` with the arity and handler of `row` (a BuiltinEntry or
// a family's BuiltinBinding) on the given arguments, which the redex takes
// over.
template <typename Row>
CellRef CallRow(const char* name, const Row& row, std::vector<CellRef> args) {
  EXPECT_EQ(row.arity, args.size());
  CellRef redex = MakeLeaf(name);
  for (CellRef& a : args) redex = MakeApp(std::move(redex), std::move(a));
  CellRef out;
  row.handler(out, std::move(redex));
  EXPECT_TRUE(out);
  return out;
}

// The builtin `name` on the given arguments.
inline CellRef CallOwned(const char* name, std::vector<CellRef> args) {
  const BuiltinEntry* e = FindBuiltin(name);
  EXPECT_NE(e, nullptr) << name;
  return e != nullptr ? CallRow(name, *e, std::move(args)) : CellRef();
}

template <typename... T>
CellRef Call(const char* name, T... args) {
  return CallOwned(name, Cells(std::move(args)...));
}

// The same with borrowed arguments: each gets a count.
inline CellRef Call(const char* name, std::vector<Cell*> args) {
  std::vector<CellRef> shared;
  for (Cell* a : args) shared.push_back(CellRef::Share(a));
  return CallOwned(name, std::move(shared));
}

// A result as text: its display form (a leaf's text for most leaves).
inline std::string Show(const CellRef& r) { return std::string(DisplayForm(r.get()).view()); }

template <typename... T>
std::string Ans(const char* name, T... args) {
  return Show(Call(name, std::move(args)...));
}

// A table row: a builtin, its arguments in the tree notation (leaves and
// applications: "05", "[ab]", "(J K 2)"; no parentheses inside a leaf), and
// the display form of its answer.
struct AnswerRow {
  const char* name;
  std::vector<const char*> args;
  const char* answer;
};

inline void ExpectAnswers(const std::vector<AnswerRow>& rows) {
  for (const AnswerRow& row : rows) {
    std::vector<CellRef> args;
    for (const char* a : row.args) args.push_back(Tree(a));
    std::string where = row.name;
    for (const char* a : row.args) where += std::string(" ") + a;
    EXPECT_EQ(Show(CallOwned(row.name, std::move(args))), row.answer) << where;
  }
}

// The answer's text ("<app>" for an application), arguments borrowed.
inline std::string LeafAnswer(const char* name, std::vector<Cell*> args) {
  CellRef r = Call(name, std::move(args));
  return r->IsLeaf() ? std::string(LeafView(r.get())) : "<app>";
}
inline std::string Text1(const char* name, const CellRef& a) { return LeafAnswer(name, {a.get()}); }
inline std::string Text2(const char* name, const CellRef& a, const CellRef& b) {
  return LeafAnswer(name, {a.get(), b.get()});
}

inline std::string Payload(const CellRef& blob) {
  EXPECT_EQ(ClassifyValue(blob.get()), ValueClass::kBlob);
  BlobView b = BlobPayload(blob.get());
  return std::string(reinterpret_cast<const char*>(b.data), b.size);
}

inline uint64_t BitsOf(double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  return bits;
}

inline double RealOf(const CellRef& r) {
  EXPECT_EQ(ClassifyValue(r.get()), ValueClass::kReal);
  return ClassifyValue(r.get()) == ValueClass::kReal ? RealValue(r.get()) : -12345.0;
}

// Applications are analysed (data or not), which needs the combinators.
class WithPrelude : public ::testing::Test {
 protected:
  void SetUp() override { LoadPrelude(); }
  void TearDown() override { EndRun(); }
};
using InspectTest = WithPrelude;

}  // namespace mox::builtin_test
