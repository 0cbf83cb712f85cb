// Cell identity and raw memory: tern's bottom-up sharing, cray across runs,
// leak and bond, post and copy, and todo when the function is its own head
// leaf (the plain uses are pinned by tests/programs/compare).
#include <cstring>
#include <string>

#include "support/builtin_calls.h"
#include "values/sequences.h"

namespace mox::builtin_test {
namespace {

using CellIdentity = WithPrelude;

TEST_F(CellIdentity, TernSharesApplicationsBottomUp) {
  CellRef ta = Call("tern", {L("12").get()});
  EXPECT_EQ(Call("tern", {ta.get()}).get(), ta.get());  // twice: the same cell
  // Built from shared parts or not, an equal application comes back as the
  // one representative.
  CellRef from_parts = App(ta.Copy(), Call("tern", {L("[x]").get()}));
  CellRef shared_app = Call("tern", {from_parts.get()});
  EXPECT_EQ(Call("tern", {App(L("12"), L("[x]")).get()}).get(), shared_app.get());
  EXPECT_EQ(shared_app->f, ta.get());
  EXPECT_NE(Call("tern", {App(L("12"), L("[y]")).get()}).get(), shared_app.get());
  auto list = [] {
    CellRef l = L("K");
    for (int i = 0; i < 1000000; ++i) l = App(App(L("J"), L("7")), std::move(l));
    return l;
  };
  EXPECT_EQ(Call("tern", {list().get()}).get(), Call("tern", {list().get()}).get());  // deep lists
}

TEST_F(CellIdentity, CrayIsOneCellForTheRun) {
  CellRef a = Call("cray", {});
  ASSERT_EQ(a->First(), kVectorByte);
  EXPECT_EQ(VectorSize(a.get()), 0u);
  // After the end-of-run release the old holders keep their cell, and the
  // next run gets a fresh one.
  EndRun();
  EXPECT_EQ(a->Count(), 1u);
  EXPECT_NE(Call("cray", {}).get(), a.get());
}

TEST_F(CellIdentity, BondCountsAndRefusesNoAddress) {
  CellRef x = App(L("K"), L("[v]"));
  uint32_t before = x->Count();
  CellRef back = Call("bond", {Call("leak", {x.get()}).get()});
  EXPECT_EQ(back.get(), x.get());
  EXPECT_EQ(x->Count(), before + 1);
  EXPECT_EQ(Text1("bond", L("[1]")), "Z");
  EXPECT_EQ(Text1("bond", L("0")), "Z");
}

TEST_F(CellIdentity, PostReadsMemoryIntoABlob) {
  const char bytes[] = "he\0llo";
  EXPECT_EQ(Payload(Call("post", {Addr(bytes).get(), L("6").get()})), std::string(bytes, 6));
  EXPECT_EQ(Payload(Call("post", {L("0").get(), L("0").get()})), "");
  EXPECT_EQ(Text2("post", Addr(bytes), L("01")), "Z");
  EXPECT_EQ(Text2("post", Addr(bytes), L("[6]")), "Z");
  EXPECT_EQ(Text2("post", L("[a]"), L("1")), "Z");
}

TEST_F(CellIdentity, CopyWritesTheBytesOfEachClass) {
  char buf[32];
  auto copied = [&](CellRef value, size_t n) {
    std::memset(buf, '.', sizeof buf);
    EXPECT_EQ(Text2("copy", Addr(buf), value), "I");
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
  // Into the bytes it copies: a text's content moved one place back, over its "[".
  CellRef text = L("[abcdef]");
  EXPECT_EQ(Text2("copy", Addr(text->Bytes()), text.Copy()), "I");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(text->Bytes()), 8), "abcdeff]");
  EXPECT_EQ(Text2("copy", Addr(buf), App(L("K"), L("1"))), "Z");
  EXPECT_EQ(Text2("copy", L("[a]"), L("[b]")), "Z");
}

TEST_F(CellIdentity, TodoOfItsOwnHeadIsThePartialApplication) {
  CellRef head = L("todo");
  CellRef partial = App(App(head.Copy(), L("1")), L("2"));
  Cell* expected = partial.get();
  CellRef out;
  FindBuiltin("todo")->handler(out, App(std::move(partial), head.Copy()));
  EXPECT_EQ(out.get(), expected);
  // Another leaf with the same name is not the head itself: todo 1 2 c is c 1 2.
  EXPECT_EQ(Show(Call("todo", {L("1").get(), L("2").get(), L("todo").get()})), "(todo1 2)");
}

}  // namespace
}  // namespace mox::builtin_test
