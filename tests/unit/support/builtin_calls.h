// Test helper for builtin handlers: values of every class, calls
// through the BuiltinTable handlers, and results shown as text.
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
#include "values/value_class.h"

namespace mox::builtin_test {

inline CellRef L(std::string_view s) { return MakeLeaf(s); }
inline CellRef Real(double d) { return MakeReal(d); }
inline CellRef Blob(std::string_view s) { return MakeBlob(s.data(), s.size()); }
inline CellRef Tree(std::string_view s) { return testing_notation::Tree(s); }

// A vector of the given children; a null entry is an empty slot.
template <typename... T>
CellRef Vec(T... parts) {
  std::vector<CellRef> children;
  (children.push_back(std::move(parts)), ...);
  CellRef v = MakeVector(children.size());
  for (size_t i = 0; i < children.size(); ++i) SetVectorSlot(v.get(), i, children[i].Leak());
  return v;
}

// name applied to the arguments, through the table's handler.
template <typename... T>
CellRef Call(const char* name, T... args) {
  const BuiltinEntry* e = FindBuiltin(name);
  EXPECT_NE(e, nullptr);
  EXPECT_EQ(e->arity, sizeof...(args));
  CellRef redex = MakeLeaf(name);
  ((redex = MakeApp(std::move(redex), std::move(args))), ...);
  CellRef out;
  e->handler(out, std::move(redex));
  EXPECT_TRUE(out);
  return out;
}

// A result as text: its display form (a leaf's text for most leaves).
inline std::string Show(const CellRef& r) { return std::string(DisplayForm(r.get()).view()); }

template <typename... T>
std::string Ans(const char* name, T... args) {
  return Show(Call(name, std::move(args)...));
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

// Applications are analysed, which needs the combinators.
class InspectTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadPrelude(); }
  void TearDown() override { EndRun(); }
};

}  // namespace mox::builtin_test
