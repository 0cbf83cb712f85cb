// Cell identity and raw memory: tern, raws, cray, leak and bond, post and copy,
// and todo, including its answer when the function is its own head leaf.
#include <cstring>
#include <string>

#include "support/builtin_calls.h"
#include "values/int_convert.h"
#include "values/sequences.h"

namespace mox::builtin_test {
namespace {

using CompareIdentity = WithPrelude;

CellRef Address(const void* p) { return MakeInt64(static_cast<int64_t>(reinterpret_cast<uintptr_t>(p))); }

std::string Payload(const CellRef& blob) {
  BlobView b = BlobPayload(blob.get());
  return std::string(reinterpret_cast<const char*>(b.data), b.size);
}

TEST_F(CompareIdentity, RawsLooksOnlyAtCells) {
  CellRef x = L("12");
  EXPECT_EQ(Text2("raws", x, x), "K");
  EXPECT_EQ(Text2("raws", x, L("12")), "H");
  EXPECT_EQ(Text2("same", x, L("12")), "K");
}

TEST_F(CompareIdentity, TernMakesEqualValuesOneCell) {
  CellRef a = L("12"), b = L("12");
  CellRef ta = Call("tern", {a.get()}), tb = Call("tern", {b.get()});
  EXPECT_EQ(Text2("raws", a, b), "H");
  EXPECT_EQ(Text2("raws", ta, tb), "K");
  EXPECT_EQ(Call("tern", {ta.get()}).get(), ta.get());  // twice: the same cell
  // Applications are shared bottom-up: built from shared parts or not, an
  // equal application comes back as the one representative.
  CellRef from_parts = App(ta.Copy(), Call("tern", {L("[x]").get()}));
  CellRef shared_app = Call("tern", {from_parts.get()});
  CellRef fresh = App(L("12"), L("[x]"));
  EXPECT_EQ(Call("tern", {fresh.get()}).get(), shared_app.get());
  EXPECT_EQ(shared_app->f, ta.get());
  CellRef other = App(L("12"), L("[y]"));
  EXPECT_NE(Call("tern", {other.get()}).get(), shared_app.get());
}

TEST_F(CompareIdentity, TernOfDeepLists) {
  auto list = [] {
    CellRef l = L("K");
    for (int i = 0; i < 1000000; ++i) l = App(App(L("J"), L("7")), std::move(l));
    return l;
  };
  CellRef a = list(), b = list();
  EXPECT_EQ(Call("tern", {a.get()}).get(), Call("tern", {b.get()}).get());
}

TEST_F(CompareIdentity, CrayIsOneCellForTheRun) {
  CellRef a = Call("cray", {}), b = Call("cray", {});
  EXPECT_EQ(a.get(), b.get());
  ASSERT_EQ(a->First(), kVectorByte);
  EXPECT_EQ(VectorSize(a.get()), 0u);
  // After the end-of-run release the old holders keep their cell, and the
  // next run gets a fresh one.
  EndRun();
  EXPECT_EQ(a->Count(), 2u);
  CellRef c = Call("cray", {});
  EXPECT_NE(c.get(), a.get());
}

TEST_F(CompareIdentity, LeakAndBondAreInverse) {
  CellRef x = App(L("K"), L("[v]"));
  CellRef address = Call("leak", {x.get()});
  EXPECT_EQ(IntegerToInt64(address.get()), static_cast<int64_t>(reinterpret_cast<uintptr_t>(x.get())));
  uint32_t before = x->Count();
  CellRef back = Call("bond", {address.get()});
  EXPECT_EQ(back.get(), x.get());
  EXPECT_EQ(x->Count(), before + 1);
  EXPECT_EQ(Text1("bond", L("[1]")), "Z");
  EXPECT_EQ(Text1("bond", L("0")), "Z");
}

TEST_F(CompareIdentity, PostReadsMemoryIntoABlob) {
  const char bytes[] = "he\0llo";
  EXPECT_EQ(Payload(Call("post", {Address(bytes).get(), L("6").get()})), std::string(bytes, 6));
  EXPECT_EQ(Payload(Call("post", {L("0").get(), L("0").get()})), "");
  EXPECT_EQ(Text2("post", Address(bytes), L("01")), "Z");
  EXPECT_EQ(Text2("post", Address(bytes), L("[6]")), "Z");
  EXPECT_EQ(Text2("post", L("[a]"), L("1")), "Z");
}

TEST_F(CompareIdentity, CopyWritesTheBytesOfEachClass) {
  char buf[32];
  auto copied = [&](CellRef value, size_t n) {
    std::memset(buf, '.', sizeof buf);
    EXPECT_EQ(Text2("copy", Address(buf), value), "I");
    return std::string(buf, n);
  };
  EXPECT_EQ(copied(Blob(std::string_view("a\0b", 3)), 4), std::string("a\0b.", 4));
  EXPECT_EQ(copied(L("[xy]"), 3), "xy.");
  EXPECT_EQ(copied(App(L("[x]"), L("[y]")), 5), "x[y].");
  EXPECT_EQ(copied(L("05"), 3), "05.");
  EXPECT_EQ(copied(L("003"), 4), "003.");
  double d = 2.5;
  EXPECT_EQ(copied(MakeReal(d), 8), std::string(reinterpret_cast<const char*>(&d), 8));
  CellRef child = L("c");
  Cell* ref = child.get();
  EXPECT_EQ(copied(Vec(child.Copy()), 8), std::string(reinterpret_cast<const char*>(&ref), 8));
  EXPECT_EQ(Text2("copy", Address(buf), App(L("K"), L("1"))), "Z");
  EXPECT_EQ(Text2("copy", L("[a]"), L("[b]")), "Z");
}

TEST_F(CompareIdentity, TodoAppliesItsLastArgument) {
  CellRef r = Call("todo", {L("1").get(), L("2").get(), L("plus").get()});
  ASSERT_TRUE(r->IsApp() && r->f->IsApp());
  EXPECT_EQ(LeafView(r->f->f), "plus");
  EXPECT_EQ(LeafView(r->f->a), "1");
  EXPECT_EQ(LeafView(r->a), "2");
}

TEST_F(CompareIdentity, TodoOfItsOwnHeadIsThePartialApplication) {
  CellRef head = L("todo");
  CellRef partial = App(App(head.Copy(), L("1")), L("2"));
  Cell* expected = partial.get();
  CellRef out;
  FindBuiltin("todo")->handler(out, App(std::move(partial), head.Copy()));
  EXPECT_EQ(out.get(), expected);
  // Another leaf with the same name is not the head itself.
  CellRef other = Call("todo", {L("1").get(), L("2").get(), L("todo").get()});
  EXPECT_EQ(LeafView(other->a), "2");
  EXPECT_EQ(LeafView(other->f->f), "todo");
}

}  // namespace
}  // namespace mox::builtin_test
