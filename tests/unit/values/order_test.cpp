// The comparison builtins less, gteq, same, diff and cmpr, and the
// structural order under them: the class order, numeric order of integers
// and `numb`s, IEEE rules for reals, bytewise texts and blobs, vectors
// lexicographically, big arithmetic results on their limbs with their
// deferred texts left unwritten, and deep or heavily shared values without
// recursion.
#include <cmath>
#include <string>

#include "support/builtin_calls.h"
#include "values/dec_limbs.h"
#include "values/int_leaf.h"
#include "values/number_bits.h"
#include "values/structural_order.h"

namespace mox::builtin_test {
namespace {

using CompareOrder = WithPrelude;

// The truth leaf a comparison answers; the bool it gives a test that only
// wants the branch must agree with it.
std::string Truth2(const char* name, const CellRef& a, const CellRef& b) {
  std::string leaf = Text2(name, a, b);
  Cell* args[] = {a.get(), b.get()};
  const BuiltinEntry* e = FindBuiltin(name);
  EXPECT_TRUE(e != nullptr && e->on_truth != nullptr) << name;
  if (e != nullptr && e->on_truth != nullptr) {
    EXPECT_EQ(e->on_truth(args) ? "K" : "H", leaf) << name;
  }
  return leaf;
}

// Asserts the answers of less a b, less b a, gteq a b, gteq b a, same a b
// and diff a b, in that order, one letter each.
void ExpectTruths(const CellRef& a, const CellRef& b, const char* answers, const std::string& what) {
  SCOPED_TRACE(what);
  const char* names[] = {"less", "less", "gteq", "gteq", "same", "diff"};
  for (int i = 0; i < 6; ++i) {
    bool swapped = i == 1 || i == 3;
    EXPECT_EQ(Truth2(names[i], swapped ? b : a, swapped ? a : b), std::string(1, answers[i])) << names[i];
  }
}

// less, gteq, same, diff agree with a strict order: a below b.
void ExpectBelow(const CellRef& a, const CellRef& b, const std::string& what) { ExpectTruths(a, b, "KHHKHK", what); }

void ExpectEqual(const CellRef& a, const CellRef& b, const std::string& what) { ExpectTruths(a, b, "HHKKKH", what); }

// Every pair of a list given in ascending order.
void ExpectAscending(const std::vector<CellRef>& values) {
  for (size_t i = 0; i < values.size(); ++i)
    for (size_t j = i + 1; j < values.size(); ++j)
      ExpectBelow(values[i], values[j], std::to_string(i) + " < " + std::to_string(j));
}

CellRef JList(CellRef flag, CellRef tail) { return App(App(L("J"), std::move(flag)), std::move(tail)); }

TEST_F(CompareOrder, ClassesOrderBeforeValues) {
  std::vector<CellRef> one_per_class;
  one_per_class.push_back(Blob("zzz"));                 // a: blob
  one_per_class.push_back(Vec(L("9")));              // c: vector
  one_per_class.push_back(App(L("K"), L("9")));        // e: void
  one_per_class.push_back(L("1000"));                  // i: integer
  one_per_class.push_back(L("0000"));                  // o: numb (-0.5)
  one_per_class.push_back(MakeReal(-1e300));           // r: real
  one_per_class.push_back(L("[]"));                    // u: bracketed text
  ExpectAscending(one_per_class);
  // No conversion between number classes: "2" is not the real 2.0.
  EXPECT_EQ(Text2("same", L("2"), MakeReal(2.0)), "H");
  EXPECT_EQ(Text2("less", L("1000"), MakeReal(0.5)), "K");
}

TEST_F(CompareOrder, IntegersInNumericOrder) {
  std::string big29 = "1" + std::string(29, '0'), big30 = "1" + std::string(30, '0');
  std::vector<CellRef> ascending;
  for (std::string s : {"0" + big30, "0" + big29, std::string("05"), std::string("03"), std::string("0"),
                        std::string("2"), std::string("10"), big29, big30})
    ascending.push_back(L(s));
  ExpectAscending(ascending);
  ExpectEqual(L(big30), L(big30), "equal texts");
  ExpectEqual(L("05"), L("05"), "equal negatives");
}

// One integer in three leaf forms: 0 the plain text a program writes, 1 a
// leaf made from digits (text written, limbs beside it), 2 a leaf made from
// limbs as a big result is (only the sign and top limb written).
CellRef IntegerForm(int form, const std::string& text) {
  if (form == 0) return L(text);
  IntText t = ReadIntText(text);
  if (form == 1) return DigitsLeaf(t.negative, t.magnitude);
  LimbVector limbs;
  LimbsFromDigits(t.magnitude, &limbs);
  return LimbsLeaf(t.negative, limbs);
}

TEST_F(CompareOrder, BigResultsCompareOnTheirLimbsUnwritten) {
  // Most of these share their length and the digits of their top limb,
  // which are all a deferred text shows: the lower limbs must decide.
  const std::string top = "123456789";
  std::vector<std::string> magnitudes = {std::string(40, '9'), top + std::string(36, '0'),
                                         top + std::string(35, '0') + "1", top + "5" + std::string(35, '0'),
                                         top + std::string(36, '9'), "1" + std::string(45, '0')};
  std::vector<std::string> ascending;
  for (size_t i = magnitudes.size(); i-- > 0;) ascending.push_back("0" + magnitudes[i]);
  for (const char* small : {"07", "0", "7"}) ascending.push_back(small);
  for (const std::string& m : magnitudes) ascending.push_back(m);
  for (int fa = 0; fa < 3; ++fa) {
    for (int fb = 0; fb < 3; ++fb) {
      std::string forms = std::to_string(fa) + "/" + std::to_string(fb) + " ";
      for (size_t i = 0; i < ascending.size(); ++i) {
        CellRef a = IntegerForm(fa, ascending[i]);
        ExpectEqual(a, IntegerForm(fb, ascending[i]), forms + ascending[i]);
        for (size_t j = i + 1; j < ascending.size(); ++j) {
          CellRef b = IntegerForm(fb, ascending[j]);
          ExpectBelow(a, b, forms + ascending[i] + " < " + ascending[j]);
          EXPECT_EQ(b->TextDeferred(), fb == 2 && ascending[j].size() > 18) << ascending[j];
        }
        EXPECT_EQ(a->TextDeferred(), fa == 2 && ascending[i].size() > 18) << ascending[i];
      }
    }
  }
  // Inside vectors too; the text, once read, is the number's.
  CellRef deferred = IntegerForm(2, top + std::string(36, '0'));
  ExpectBelow(Vec(L("1"), deferred.Copy()), Vec(L("1"), IntegerForm(0, top + std::string(35, '0') + "1")), "vector");
  EXPECT_TRUE(deferred->TextDeferred());
  EXPECT_EQ(LeafView(deferred.get()), top + std::string(36, '0'));
}

TEST_F(CompareOrder, ListFormIntegersCompareAsTheirNumbers) {
  CellRef five = JList(L("K"), L("2"));  // bits 1 (integer), 1 (positive), then M = 5
  ASSERT_EQ(LeafView(NumberListText(five.get()).get()), "5");
  ExpectEqual(five, L("5"), "list form and text");
  ExpectBelow(L("4"), five, "4 < list 5");
  // A list whose bits make no number is void, below every integer.
  ExpectBelow(JList(L("K"), L("[x]")), L("0"), "malformed list");
}

TEST_F(CompareOrder, NumbsInNumericOrder) {
  std::vector<CellRef> ascending;  // -1, -0.5, 0, 0.5, 1, 1.5, 2
  for (const char* s : {"000", "0000", "00", "002", "001", "003", "004"}) ascending.push_back(L(s));
  ExpectAscending(ascending);
  ExpectEqual(L("003"), L("003"), "equal numbs");
}

TEST_F(CompareOrder, RealsFollowIeee) {
  CellRef nan = MakeReal(std::nan("")), other_nan = MakeReal(std::nan(""));
  ExpectBelow(MakeReal(-INFINITY), MakeReal(1.0), "-inf < 1");
  ExpectEqual(MakeReal(0.0), MakeReal(-0.0), "zeros");
  for (const CellRef& r : Cells(MakeReal(1.0), other_nan.Copy())) {
    EXPECT_EQ(Text2("less", nan, r), "H");
    EXPECT_EQ(Text2("less", r, nan), "H");
    EXPECT_EQ(Text2("gteq", nan, r), "H");
    EXPECT_EQ(Text2("gteq", r, nan), "H");
    EXPECT_EQ(Text2("same", nan, r), "H");
    EXPECT_EQ(Text2("diff", nan, r), "K");
  }
  // The very same NaN cell: identical for same and diff, unordered for
  // less and gteq.
  EXPECT_EQ(Text2("same", nan, nan), "K");
  EXPECT_EQ(Text2("diff", nan, nan), "H");
  EXPECT_EQ(Text2("less", nan, nan), "H");
  EXPECT_EQ(Text2("gteq", nan, nan), "H");
}

TEST_F(CompareOrder, BlobsAndTextsCompareUnsignedBytes) {
  std::vector<CellRef> blobs;
  for (std::string_view s : {std::string_view(""), std::string_view("\0", 1), std::string_view("a"),
                             std::string_view("ab"), std::string_view("b"), std::string_view("\x7f"),
                             std::string_view("\x80")})
    blobs.push_back(Blob(s));
  ExpectAscending(blobs);
  std::vector<CellRef> texts;
  for (const char* s : {"[]", "[[]]", "[a]", "[a[b]]", "[ab]", "[b]"}) texts.push_back(L(s));
  ExpectAscending(texts);
}

TEST_F(CompareOrder, DataApplicationsCompareAsTheirWrittenText) {
  CellRef app = App(L("[a]"), L("[b]"));  // the list a followed by the group [b]
  ExpectEqual(app, L("[a[b]]"), "written out");
  ExpectBelow(app, L("[a[c]]"), "differs inside the group");
  ExpectBelow(L("[a]"), app, "prefix");
  CellRef nested = App(App(L("[x]"), L("[]")), App(L("[y]"), L("[z]")));  // x[][y[z]]
  ExpectEqual(nested, L("[x[][y[z]]]"), "nested applications");
}

TEST_F(CompareOrder, LongTextsDifferingAtTheEnd) {
  std::string body(1 << 20, 'q');
  CellRef a = L("[" + body + "a]"), b = L("[" + body + "b]");
  ExpectBelow(a, b, "last byte decides");
  ExpectBelow(L("[" + body + "]"), a, "prefix");
}

TEST_F(CompareOrder, VectorsLexicographically) {
  auto v = [](std::vector<const char*> xs) {
    std::vector<CellRef> cs;
    for (const char* x : xs) cs.push_back(x == nullptr ? CellRef() : L(x));
    return VecOf(std::move(cs));
  };
  ExpectAscending(Cells(v({}), v({nullptr}), v({"05"}), v({"2"}), v({"2", "0"}), v({"10"}), v({"[a]"})));
  ExpectEqual(v({"2", "[x]"}), v({"2", "[x]"}), "distinct equal vectors");
  ExpectEqual(v({nullptr}), v({nullptr}), "empty slots");
  // Nested vectors compare by the same rules inside.
  ExpectBelow(Vec(v({"1", "2"})), Vec(v({"1", "3"})), "nested");
}

TEST_F(CompareOrder, VectorWithNaNChildIsNotBelowNorSame) {
  CellRef a = Vec(MakeReal(std::nan(""))), b = Vec(MakeReal(1.0));
  EXPECT_EQ(Text2("less", a, b), "H");
  EXPECT_EQ(Text2("less", b, a), "H");
  EXPECT_EQ(Text2("same", a, b), "H");
  EXPECT_EQ(Text2("gteq", a, b), "K");  // not below
  EXPECT_EQ(Text2("same", a, a), "K");  // the same cell
  CellRef shared = MakeReal(std::nan(""));
  EXPECT_EQ(Text2("same", Vec(shared.Copy()), Vec(shared.Copy())), "K");  // the same child cell
}

TEST_F(CompareOrder, DeeplyNestedVectors) {
  auto nest = [](const char* inner) {
    CellRef v = Vec(L(inner));
    for (int i = 0; i < 100000; ++i) v = Vec(std::move(v));
    return v;
  };
  CellRef a = nest("1"), b = nest("2"), c = nest("1");
  ExpectBelow(a, b, "innermost decides");
  ExpectEqual(a, c, "equal all the way down");
}

TEST_F(CompareOrder, VoidValuesByStructure) {
  ExpectBelow(App(L("K"), L("1")), App(L("K"), L("2")), "arguments decide");
  ExpectBelow(App(L("H"), L("9")), App(L("K"), L("1")), "function parts first");
  ExpectBelow(L("plus"), App(L("K"), L("1")), "a leaf below an application");
  ExpectEqual(App(L("K"), L("1")), App(L("K"), L("1")), "equal structure");
}

TEST_F(CompareOrder, CmprUsesStoredBytes) {
  EXPECT_EQ(Text2("cmpr", L("2"), L("10")), "01");
  EXPECT_EQ(Text2("cmpr", L("10"), L("9")), "1");
  EXPECT_EQ(Text2("cmpr", L("[ab]"), L("[ab]")), "0");
  EXPECT_EQ(Text2("cmpr", L("zz"), App(L("K"), L("a"))), "1");
  // Two distinct vectors with equal children differ by their references,
  // in a fixed, antisymmetric way.
  CellRef child = L("7");
  CellRef v1 = Vec(child.Copy()), v2 = Vec(L("7"));
  std::string forth = Text2("cmpr", v1, v2), back = Text2("cmpr", v2, v1);
  EXPECT_NE(forth, "0");
  EXPECT_EQ(forth == "1" ? "01" : "1", back);
  EXPECT_EQ(Text2("same", v1, v2), "K");
}

// Lists (J n rest) of the given length, counting down to 1.
CellRef CountDown(int n, const char* last) {
  CellRef list = L(last);
  for (int i = 1; i <= n; ++i) list = App(App(L("J"), L(std::to_string(i))), std::move(list));
  return list;
}

TEST(StructuralOrder, DeepListsWithoutRecursion) {
  CellRef a = CountDown(1000000, "K"), b = CountDown(1000000, "K"), c = CountDown(1000000, "L");
  EXPECT_EQ(StructuralOrder(a.get(), b.get()), 0);
  EXPECT_EQ(StructuralOrder(a.get(), c.get()), -1);
  EXPECT_EQ(StructuralOrder(c.get(), a.get()), 1);
}

TEST(StructuralOrder, LeavesByBytesAndLength) {
  EXPECT_EQ(StructuralOrder(L("ab").get(), L("abc").get()), -1);
  EXPECT_EQ(StructuralOrder(L("\x80").get(), L("\x7f").get()), 1);
  EXPECT_EQ(StructuralOrder(Blob(std::string_view("a\0b", 3)).get(), Blob(std::string_view("a\0c", 3)).get()), -1);
  CellRef x = L("x");
  EXPECT_EQ(StructuralOrder(x.get(), x.get()), 0);
}

TEST(StructuralOrder, SharedGraphsAreWalkedOnce) {
  // d(k+1) = (d(k) d(k)): 2^200 paths, built twice from distinct cells.
  auto doubling = [] {
    CellRef d = L("x");
    for (int i = 0; i < 200; ++i) d = App(d.Copy(), d.Copy());
    return d;
  };
  CellRef a = doubling(), b = doubling();
  EXPECT_EQ(StructuralOrder(a.get(), b.get()), 0);
}

}  // namespace
}  // namespace mox::builtin_test
