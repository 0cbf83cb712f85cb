// The six arithmetic builtins through their table handlers: every class
// rule, the mixing of number classes, and "Z" for the pairs no rule takes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/memory.h"
#include "core/run_end.h"
#include "defs/prelude.h"
#include "program/builtin_table.h"
#include "support/builtin_calls.h"
#include "values/int_convert.h"
#include "values/value_class.h"

namespace mox {
namespace {

using namespace builtin_test;

// The result as text: a leaf's text; "<app>" for an application.
std::string Arith(const char* op, CellRef a, CellRef b) {
  CellRef r = Call(op, std::move(a), std::move(b));
  return r->IsLeaf() ? std::string(LeafView(r.get())) : "<app>";
}

double RunReal(const char* op, CellRef a, CellRef b) {
  CellRef r = Call(op, std::move(a), std::move(b));
  EXPECT_EQ(ClassifyValue(r.get()), ValueClass::kReal);
  return ClassifyValue(r.get()) == ValueClass::kReal ? RealValue(r.get()) : -12345.0;
}


CellRef Letter(char c) { return MakeLeaf(&c, 1); }

// Operands that are applications are analysed, which needs the combinators.
class NumbersArith : public ::testing::Test {
 protected:
  void SetUp() override { LoadPrelude(); }
  void TearDown() override { EndRun(); }
};

TEST_F(NumbersArith, ClassesInTheirOrder) {
  EXPECT_EQ(ClassifyValue(Real(1.0).get()), ValueClass::kReal);
  EXPECT_EQ(ClassifyValue(Blob("").get()), ValueClass::kBlob);
  EXPECT_EQ(ClassifyValue(Vec().get()), ValueClass::kVector);
  EXPECT_EQ(ClassifyValue(L("[]").get()), ValueClass::kText);
  EXPECT_EQ(ClassifyValue(MakeApp(L("[a]"), L("[b]")).get()), ValueClass::kText);
  EXPECT_EQ(ClassifyValue(MakeApp(Letter('J'), Letter('H'), L("[b]")).get()), ValueClass::kNumb);
  EXPECT_EQ(ClassifyValue(MakeApp(Letter('J'), Letter('K'), Letter('K')).get()), ValueClass::kInteger);
  EXPECT_EQ(ClassifyValue(MakeApp(Letter('J'), Letter('I'), Letter('K')).get()), ValueClass::kVoid);
  EXPECT_EQ(ClassifyValue(MakeApp(Letter('K'), L("1")).get()), ValueClass::kVoid);
  EXPECT_EQ(ClassifyValue(L("0").get()), ValueClass::kInteger);
  EXPECT_EQ(ClassifyValue(L("05").get()), ValueClass::kInteger);
  EXPECT_EQ(ClassifyValue(L("00").get()), ValueClass::kNumb);
  EXPECT_EQ(ClassifyValue(L("plus").get()), ValueClass::kVoid);
  EXPECT_STREQ(ClassName(ValueClass::kNumb), "[numb]");
  // list-form integers convert for counts and indexes too
  EXPECT_EQ(IntegerToInt64(MakeApp(Letter('J'), Letter('K'), L("2")).get()), 5);
  EXPECT_EQ(IntegerToInt64(MakeApp(Letter('J'), Letter('K'), L("00")).get()), -1);
  EXPECT_EQ(IntegerToInt64(MakeApp(Letter('J'), Letter('K'), L("[x]")).get()), 0);
}

TEST_F(NumbersArith, IntegerEdgeCases) {
  EXPECT_EQ(Arith("plus", L("05"), L("7")), "2");
  EXPECT_EQ(Arith("dash", L("3"), L("5")), "02");
  EXPECT_EQ(Arith("dash", L("5"), L("5")), "0");
  EXPECT_EQ(Arith("mult", L("03"), L("04")), "12");
  EXPECT_EQ(Arith("over", L("7"), L("02")), "03");
  EXPECT_EQ(Arith("over", L("07"), L("2")), "03");
  EXPECT_EQ(Arith("over", L("7"), L("0")), "Z");
  EXPECT_EQ(Arith("cent", L("07"), L("3")), "2");
  EXPECT_EQ(Arith("cent", L("7"), L("03")), "2");
  EXPECT_EQ(Arith("cent", L("07"), L("03")), "1");
  EXPECT_EQ(Arith("cent", L("7"), L("0")), "Z");
  EXPECT_EQ(Arith("powa", L("2"), L("010")), "0");
  EXPECT_EQ(Arith("powa", L("0"), L("0")), "1");
  EXPECT_EQ(Arith("powa", L("02"), L("3")), "08");
  EXPECT_EQ(Arith("plus", L("999999999999999999"), L("1")), "1000000000000000000");
}

TEST_F(NumbersArith, ListFormIntegersConvertFirst) {
  // J K "2" spells the bits 1, then those of "2" (1011): 10111 = "5".
  CellRef five = MakeApp(Letter('J'), Letter('K'), L("2"));
  EXPECT_EQ(Arith("plus", five.Copy(), L("1")), "6");
  EXPECT_EQ(Arith("mult", L("3"), five.Copy()), "15");
  EXPECT_EQ(Arith("dash", L("[abcdefg]"), five.Copy()), "[fg]");
  CellRef half = MakeApp(Letter('J'), Letter('H'), L("01"));  // bits 0 then 101: "002"
  EXPECT_EQ(Arith("plus", half.Copy(), L("002")), "001");
  CellRef broken = MakeApp(Letter('J'), Letter('K'), L("[x]"));
  EXPECT_EQ(Arith("plus", broken.Copy(), L("1")), "Z");
}

TEST_F(NumbersArith, RealsAndMixing) {
  EXPECT_EQ(RunReal("plus", L("1"), Real(2.5)), 3.5);
  EXPECT_EQ(RunReal("dash", Real(2.5), L("01")), 3.5);
  EXPECT_EQ(RunReal("mult", L("002"), Real(3.0)), 1.5);  // numb 0.5
  EXPECT_EQ(RunReal("over", Real(7.0), Real(0.0)), INFINITY);
  EXPECT_TRUE(std::isnan(RunReal("over", Real(0.0), Real(0.0))));
  EXPECT_TRUE(std::isnan(RunReal("cent", Real(1.0), Real(0.0))));
  EXPECT_EQ(RunReal("cent", Real(7.5), L("2")), 1.5);
  EXPECT_EQ(RunReal("powa", Real(2.0), L("10")), 1024.0);
  // integers and numbs divide as doubles; numbs by numbs not at all
  EXPECT_EQ(RunReal("over", L("1"), L("004")), 0.5);
  EXPECT_EQ(Arith("over", L("002"), L("004")), "Z");
  EXPECT_EQ(RunReal("powa", L("4"), L("002")), 2.0);
  // integer with numb: exact numb results
  EXPECT_EQ(Arith("plus", L("1"), L("002")), "003");    // 1 + 0.5
  EXPECT_EQ(Arith("dash", L("002"), L("1")), "0000");   // 0.5 - 1 = -0.5
  EXPECT_EQ(Arith("mult", L("3"), L("002")), "003");    // 1.5
  EXPECT_EQ(Arith("cent", L("7"), L("002")), "00");     // 7 mod 0.5
  EXPECT_EQ(Arith("plus", L("005"), L("001")), "0016");  // 3 + 1 = 4
}

TEST_F(NumbersArith, NumbPowers) {
  EXPECT_EQ(Arith("powa", L("004"), L("3")), "0064");  // 2^3 = 8: bit 6
  EXPECT_EQ(Arith("powa", L("002"), L("2")), "008");   // 0.25
  EXPECT_EQ(Arith("powa", L("000"), L("3")), "000");   // -1
  EXPECT_EQ(Arith("powa", L("004"), L("0")), "001");
  EXPECT_EQ(Arith("powa", L("004"), L("01")), "Z");
  EXPECT_EQ(Arith("powa", L("004"), L("004")), "Z");
  SetMemoryCeiling(size_t{1} << 20, [] {});  // refuses what the machine would report
  EXPECT_EQ(Arith("powa", L("002"), L("999999999999999999999")), "Z");
  SetMemoryCeiling(0, nullptr);
  EXPECT_EQ(Arith("powa", L("000"), L("999999999999999999999")), "000");
}

TEST_F(NumbersArith, TextJoins) {
  EXPECT_EQ(Arith("plus", L("[ab]"), L("[cd]")), "[abcd]");
  EXPECT_EQ(Arith("plus", L("[ab]"), L("012")), "[ab012]");
  EXPECT_EQ(Arith("plus", L("003"), L("[x]")), "[003x]");
  EXPECT_EQ(Arith("plus", L("[x]"), Real(1.5)), "[x+1.5000000000000000e+0000]");
  EXPECT_EQ(Arith("plus", Real(-0.001), L("[]")), "[-1.0000000000000000e-0003]");
  EXPECT_EQ(Arith("plus", Real(1e300), L("[]")), "[+1.0000000000000001e+0300]");
  EXPECT_EQ(Arith("plus", L("[]"), Real(INFINITY)), "[+inf]");
  CellRef blob = Call("plus", Blob(std::string("a\0b", 3)), L("[c]"));
  EXPECT_EQ(ClassifyValue(blob.get()), ValueClass::kBlob);
  EXPECT_EQ(Payload(blob), std::string("a\0bc", 4));
  EXPECT_EQ(Payload(Call("plus", L("7"), Blob("x"))), "7x");
  EXPECT_EQ(Payload(Call("plus", Blob("x"), Blob(""))), "x");
  // A data application is written out: [ab] applied to [c] reads "ab[c]".
  CellRef data = MakeApp(L("[ab]"), L("[c]"));
  EXPECT_EQ(ClassifyValue(data.get()), ValueClass::kText);
  EXPECT_EQ(Arith("plus", data.Copy(), L("[x]")), "[ab[c]x]");
}

TEST_F(NumbersArith, TextCuts) {
  EXPECT_EQ(Arith("dash", L("[abcdef]"), L("2")), "[cdef]");
  EXPECT_EQ(Arith("dash", L("[abcdef]"), L("02")), "[abcd]");
  EXPECT_EQ(Arith("dash", L("[abcdef]"), L("6")), "[]");
  EXPECT_EQ(Arith("dash", L("[abcdef]"), L("06")), "[]");
  EXPECT_EQ(Arith("dash", L("[abcdef]"), L("7")), "Z");
  EXPECT_EQ(Arith("dash", L("[abcdef]"), L("0")), "[abcdef]");
  EXPECT_EQ(Payload(Call("dash", Blob("abcdef"), L("2"))), "cdef");
  EXPECT_EQ(Payload(Call("dash", Blob("abcdef"), L("02"))), "abcd");
  EXPECT_EQ(Payload(Call("dash", Blob("abc"), L("3"))), "");
  EXPECT_EQ(Arith("dash", Blob("abc"), L("4")), "Z");
  EXPECT_EQ(Arith("dash", Blob("abc"), Blob("a")), "Z");
  EXPECT_EQ(Arith("dash", Blob("abc"), L("[a]")), "Z");
  EXPECT_EQ(Arith("dash", L("[abc]"), Real(1.0)), "Z");
  EXPECT_EQ(Arith("dash", Real(1.0), L("[abc]")), "Z");
  EXPECT_EQ(Arith("dash", L("1"), L("[abc]")), "Z");
  // two bracketed texts: the application a b, not reduced
  CellRef a = L("[ab]"), b = L("[cd]");
  CellRef app = Call("dash", a.Copy(), b.Copy());
  ASSERT_TRUE(app->IsApp());
  EXPECT_EQ(app->f, a.get());
  EXPECT_EQ(app->a, b.get());
}

TEST_F(NumbersArith, Repeats) {
  EXPECT_EQ(Arith("mult", L("3"), L("[ab]")), "[ababab]");
  EXPECT_EQ(Arith("mult", L("[ab]"), L("3")), "[ababab]");
  EXPECT_EQ(Arith("mult", L("[ab]"), L("0")), "[]");
  EXPECT_EQ(Arith("mult", L("[ab]"), L("01")), "Z");
  EXPECT_EQ(Arith("mult", L("[]"), L("1000000000000000")), "[]");
  EXPECT_EQ(Payload(Call("mult", Blob(std::string("\0x", 2)), L("5"))), std::string("\0x\0x\0x\0x\0x", 10));
  EXPECT_EQ(Arith("mult", L("[ab]"), L("[cd]")), "Z");
  EXPECT_EQ(Arith("mult", L("[ab]"), Real(2.0)), "Z");
  EXPECT_EQ(Arith("mult", L("002"), L("[ab]")), "Z");
  std::string seven(7 * 13, ' ');
  for (int i = 0; i < 7 * 13; ++i) seven[static_cast<size_t>(i)] = "abcdefghijklm"[i % 13];
  EXPECT_EQ(Arith("mult", L("[abcdefghijklm]"), L("7")), "[" + seven + "]");
}

TEST_F(NumbersArith, Vectors) {
  CellRef x = L("[x]"), y = L("1");
  CellRef v = Vec(x.Copy(), CellRef(), y.Copy());
  CellRef joined = Call("plus", v.Copy(), Vec(L("2")));
  ASSERT_EQ(VectorSize(joined.get()), 4u);
  EXPECT_EQ(VectorSlot(joined.get(), 0), x.get());
  EXPECT_EQ(VectorSlot(joined.get(), 1), nullptr);
  EXPECT_EQ(VectorSlot(joined.get(), 2), y.get());
  EXPECT_EQ(Arith("plus", v.Copy(), L("1")), "Z");
  EXPECT_EQ(Arith("plus", L("1"), v.Copy()), "Z");
  CellRef five = Vec(L("0"), L("1"), L("2"), L("3"), L("4"));
  CellRef first3 = Call("dash", five.Copy(), L("2"));
  ASSERT_EQ(VectorSize(first3.get()), 3u);
  EXPECT_EQ(VectorSlot(first3.get(), 2), VectorSlot(five.get(), 2));
  CellRef last3 = Call("dash", five.Copy(), L("02"));
  ASSERT_EQ(VectorSize(last3.get()), 3u);
  EXPECT_EQ(VectorSlot(last3.get(), 0), VectorSlot(five.get(), 2));
  EXPECT_EQ(VectorSize(Call("dash", five.Copy(), L("5")).get()), 0u);
  EXPECT_EQ(Arith("dash", five.Copy(), L("6")), "Z");
  EXPECT_EQ(Arith("dash", five.Copy(), L("[x]")), "Z");
  CellRef twice = Call("mult", L("2"), v.Copy());
  ASSERT_EQ(VectorSize(twice.get()), 6u);
  EXPECT_EQ(VectorSlot(twice.get(), 3), x.get());
  EXPECT_EQ(VectorSlot(twice.get(), 4), nullptr);
  EXPECT_EQ(VectorSize(Call("mult", v.Copy(), L("0")).get()), 0u);
  EXPECT_EQ(Arith("mult", v.Copy(), L("01")), "Z");
  EXPECT_EQ(Arith("mult", v.Copy(), L("33554432")), "Z");  // 3 * 2^25 children: past 2^26 - 1
  EXPECT_EQ(Arith("mult", v.Copy(), v.Copy()), "Z");
}

TEST_F(NumbersArith, AppendAndPrepend) {
  CellRef v = Vec(L("1"));
  CellRef f = MakeApp(L("S"), L("K"));  // a partial application: void, still appended
  for (const char* op : {"over", "powa"}) {
    CellRef r = Call(op, v.Copy(), f.Copy());
    ASSERT_EQ(VectorSize(r.get()), 2u);
    EXPECT_EQ(VectorSlot(r.get(), 1), f.get());
    CellRef u = Call(op, v.Copy(), L("U"));
    ASSERT_EQ(VectorSize(u.get()), 2u);
    EXPECT_EQ(VectorSlot(u.get(), 1), nullptr);
    CellRef nested = Call(op, v.Copy(), v.Copy());
    EXPECT_EQ(VectorSlot(nested.get(), 1), v.get());
    EXPECT_EQ(Arith(op, L("1"), v.Copy()), "Z");
  }
  CellRef p = Call("cent", f.Copy(), v.Copy());
  ASSERT_EQ(VectorSize(p.get()), 2u);
  EXPECT_EQ(VectorSlot(p.get(), 0), f.get());
  EXPECT_EQ(VectorSize(Call("cent", v.Copy(), v.Copy()).get()), 2u);
  EXPECT_EQ(Arith("cent", v.Copy(), L("1")), "Z");
}

TEST_F(NumbersArith, VoidOperandsGiveZ) {
  for (const char* op : {"plus", "dash", "mult", "over", "cent", "powa"}) {
    EXPECT_EQ(Arith(op, L("S"), L("1")), "Z") << op;
    EXPECT_EQ(Arith(op, L("1"), MakeApp(L("K"), L("1"))), "Z") << op;
    EXPECT_EQ(Arith(op, L("[a]"), L("S")), "Z") << op;
    EXPECT_EQ(Arith(op, Real(1.0), L("plus")), "Z") << op;
  }
  for (const char* op : {"plus", "dash", "mult"}) EXPECT_EQ(Arith(op, Vec(), L("S")), "Z") << op;
  for (const char* op : {"over", "cent", "powa"}) {
    EXPECT_EQ(Arith(op, L("[a]"), L("[b]")), "Z") << op;
    EXPECT_EQ(Arith(op, Blob("a"), L("1")), "Z") << op;
  }
}

TEST_F(NumbersArith, OperandsAreReleased) {
  int64_t before = LiveCells();
  {
    CellRef v = Vec(L("1"), CellRef());
    Arith("plus", v.Copy(), v.Copy());
    Arith("over", v.Copy(), L("[x]"));
    Arith("dash", L("[ab]"), L("[cd]"));
    Arith("plus", L("123456789012345678901234567890"), L("1"));
    Arith("powa", L("004"), L("20"));
    Arith("mult", L("[ab]"), L("3"));
  }
  EXPECT_EQ(LiveCells(), before);
}

}  // namespace
}  // namespace mox
