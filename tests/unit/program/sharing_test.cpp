// The sharing table: structurally equal graphs map to one representative,
// parts are shared first, the walk copes with heavily shared graphs, and
// pruning to values keeps what later sharing needs.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/run_end.h"
#include "program/analyse.h"
#include "program/globals.h"
#include "program/sharing.h"
#include "support/leak_checked_test.h"
#include "support/tree_notation.h"

namespace mox {
namespace {

using testing_notation::Show;
using testing_notation::Tree;

class SharingTest : public LeakCheckedTest {
 protected:
  // K, which a partial application makes a value and a saturated one a
  // redex, and the lambda binder, whose body need not be a value.
  static void DefineKAndLambda() {
    Globals().Set(Text("K"), Tree("(\\ a (\\ b a))"));
    Globals().Set(Text("\\"), Tree("(\\ a (\\ b (\\ c Z)))"));
    Globals().Set(Text("Z"), Tree("(\\ a Z)"));
  }
  void TearDown() override {
    LeakCheckedTest::TearDown();
    EXPECT_EQ(SharingTableSize(), 0u);
  }
};

TEST_F(SharingTest, EqualGraphsGetOneRepresentative) {
  CellRef a = Tree("f (g 1) [xy]");
  CellRef b = Tree("f (g 1) [xy]");
  CellRef ra = ShareValue(a.get());
  CellRef rb = ShareValue(b.get());
  EXPECT_EQ(ra.get(), a.get());  // the first graph is entered as it is
  EXPECT_EQ(rb.get(), a.get());
  EXPECT_EQ(SharingTableSize(), 7u);  // f, g, 1, (g 1), (f (g 1)), [xy], the root
  CellRef other = Tree("f (g 2) [xy]");
  CellRef ro = ShareValue(other.get());
  EXPECT_NE(ro.get(), other.get());  // rebuilt around the shared parts
  EXPECT_EQ(ro->a, a->a);
  EXPECT_EQ(ro->f->f, a->f->f);
  EXPECT_EQ(Show(ro.get()), "((f (g 2)) [xy])");
}

TEST_F(SharingTest, EqualPartsOfOneGraphMerge) {
  CellRef t = Tree("(h (k 5)) (k 5) 5");
  CellRef r = ShareValue(t.get());
  EXPECT_EQ(r->f->a, r->f->f->a);  // both (k 5)
  EXPECT_EQ(r->a, r->f->a->a);     // all three 5s
  // The function part is shared first: its (k 5) is the one kept.
  EXPECT_EQ(r->f->a, t->f->f->a);
}

TEST_F(SharingTest, LeavesCompareTheirStoredBytes) {
  CellRef n1 = MakeLeaf("12"), n2 = MakeLeaf("12"), s = MakeLeaf("[12]"), m = MakeLeaf("1");
  CellRef b1 = MakeBlob("a\0b", 3), b2 = MakeBlob("a\0c", 3);
  EXPECT_EQ(ShareValue(n1.get()).get(), ShareValue(n2.get()).get());
  EXPECT_NE(ShareValue(s.get()).get(), ShareValue(n1.get()).get());
  EXPECT_NE(ShareValue(m.get()).get(), ShareValue(n1.get()).get());
  EXPECT_NE(ShareValue(b1.get()).get(), ShareValue(b2.get()).get());  // bytes after a NUL count
}

TEST_F(SharingTest, HeavilySharedGraphs) {
  CellRef c = MakeLeaf("x");
  for (int i = 0; i < 500; ++i) c = MakeApp(c.Copy(), c.Copy());
  CellRef d = MakeLeaf("x");  // the same shape, built apart
  for (int i = 0; i < 500; ++i) d = MakeApp(d.Copy(), d.Copy());
  EXPECT_EQ(ShareValue(c.get()).get(), c.get());
  EXPECT_EQ(ShareValue(d.get()).get(), c.get());
  EXPECT_EQ(SharingTableSize(), 501u);
}

TEST_F(SharingTest, DeepGraphs) {
  CellRef s = MakeLeaf("S"), k = MakeLeaf("K");
  CellRef c = MakeLeaf("0");
  for (int i = 0; i < 200000; ++i) c = MakeApp(s.Copy(), std::move(c));
  CellRef d = MakeLeaf("0");
  for (int i = 0; i < 200000; ++i) d = MakeApp(std::move(d), k.Copy());
  EXPECT_EQ(ShareValue(c.get()).get(), c.get());
  CellRef rd = ShareValue(d.get());  // its leaf "0" is the other graph's
  EXPECT_NE(rd.get(), d.get());
  EXPECT_EQ(SharingTableSize(), 400000u + 3u);
  // Separate leaves of equal text merge, so every node is rebuilt once.
  CellRef e = MakeLeaf("0");
  for (int i = 0; i < 200000; ++i) e = MakeApp(MakeLeaf("S"), std::move(e));
  EXPECT_EQ(ShareValue(e.get()).get(), c.get());
}

// The first (k 5) is entered just now for a cell nothing else holds, so the
// application above it is entered without a search; the second (k 5) and
// the application above it must still find them.
TEST_F(SharingTest, CopiesMeetAboveAPartEnteredJustNow) {
  CellRef t = Tree("((k 5) z) ((k 5) z)");
  CellRef r = ShareValue(t.get());
  EXPECT_EQ(r->f, r->a);
  EXPECT_EQ(r->f, t->f);
  EXPECT_EQ(SharingTableSize(), 6u);  // k, 5, (k 5), z, ((k 5) z), the root
}

// Random graphs over two leaves, many sub-trees repeated within and across
// them, all shared into one table: afterwards each distinct shape is one
// cell, and the table holds exactly one entry for each.
TEST_F(SharingTest, EveryShapeEndsAsOneEntry) {
  uint32_t seed = 12345;
  auto next = [&seed](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  std::vector<CellRef> results;
  for (int g = 0; g < 300; ++g) {
    // Built bottom-up from a pool of sub-trees, some of them used twice.
    std::vector<CellRef> pool;
    for (const char* leaf : {"a", "b", "a"}) pool.push_back(MakeLeaf(leaf));
    for (int i = 0; i < 12; ++i) {
      CellRef f = pool[next(static_cast<uint32_t>(pool.size()))].Copy();
      CellRef a = pool[next(static_cast<uint32_t>(pool.size()))].Copy();
      pool.push_back(MakeApp(std::move(f), std::move(a)));
    }
    results.push_back(ShareValue(pool.back().get()));
    EXPECT_EQ(Show(results.back().get()), Show(pool.back().get()));
  }
  std::map<std::string, const Cell*> shapes;
  std::vector<const Cell*> work;
  for (const CellRef& r : results) work.push_back(r.get());
  while (!work.empty()) {
    const Cell* c = work.back();
    work.pop_back();
    auto [it, added] = shapes.emplace(Show(c), c);
    ASSERT_EQ(it->second, c) << it->first;
    if (added && c->IsApp()) {
      work.push_back(c->f);
      work.push_back(c->a);
    }
  }
  EXPECT_EQ(SharingTableSize(), shapes.size());
}

TEST_F(SharingTest, PruningKeepsValuesAndTheirParts) {
  DefineKAndLambda();
  CellRef value = Tree("K 7");                   // a partial application
  CellRef redex = Tree("K 1 2");                 // saturated: no value
  CellRef lambda = Tree("(\\ x) (K (K 3 4) x)");  // a value whose body is not
  CellRef rv = ShareValue(value.get());
  CellRef rr = ShareValue(redex.get());
  CellRef rl = ShareValue(lambda.get());
  KeepOnlySharedValues();
  // K, 7, (K 7); 1, (K 1), 2 of the redex; \, x, (\ x), 3, (K 3), 4,
  // (K 3 4), (K (K 3 4)), the body and the lambda.
  EXPECT_EQ(SharingTableSize(), 16u);
  CellRef again = Tree("(\\ x) (K (K 3 4) x)");
  EXPECT_EQ(ShareValue(again.get()).get(), rl.get());
  CellRef redex2 = Tree("K 1 2");
  EXPECT_NE(ShareValue(redex2.get()).get(), rr.get());  // forgotten: entered afresh
  ClearSharingTable();
  EXPECT_EQ(SharingTableSize(), 0u);
}

// Pruning deletes in place; every entry that stays must still be found
// from its home slot, across thousands of deletions in long probe runs.
TEST_F(SharingTest, PruningInPlaceLeavesEveryKeptEntryFindable) {
  DefineKAndLambda();
  std::vector<CellRef> values;
  for (int n = 0; n < 3000; ++n) {
    std::string k = std::to_string(n), m = std::to_string(n + 100000);
    values.push_back(ShareValue(Tree(("K " + k).c_str()).get()));
    ShareValue(Tree(("K " + k + " " + m).c_str()).get());  // a redex: dropped
  }
  EXPECT_EQ(SharingTableSize(), 12001u);
  KeepOnlySharedValues();
  // K, the 3000 partial applications with their numbers, the other numbers.
  EXPECT_EQ(SharingTableSize(), 9001u);
  for (int n = 0; n < 3000; ++n) {
    CellRef again = Tree(("K " + std::to_string(n)).c_str());
    ASSERT_EQ(ShareValue(again.get()).get(), values[static_cast<size_t>(n)].get());
  }
  EXPECT_EQ(ShareLeafBytes("100042").get(), ShareLeafBytes("100042").get());
  EXPECT_EQ(SharingTableSize(), 9001u);
  values.clear();
  ClearSharingTable();
}

// A leaf written in place keeps the slot of its old bytes: nothing may look
// it up there expecting to find it. Pruning finds the parts of a lambda's
// body by identity; here one of them, a global of no parameters (no value),
// is written in place, as a program can through `ref`.
TEST_F(SharingTest, PruningFindsLeavesWrittenInPlace) {
  DefineKAndLambda();
  Globals().Set(Text("foo"), Tree("K 1 2"));
  CellRef lambda = Tree("(\\ x) (K foo x)");
  CellRef rl = ShareValue(lambda.get());
  Cell* foo = rl->a->f->a;
  ASSERT_EQ(LeafView(foo), "foo");
  EXPECT_FALSE(IsValue(foo));  // analysed before the write, as a program's leaves are
  foo->Bytes()[2] = 'x';
  KeepOnlySharedValues();
  EXPECT_EQ(ShareValue(rl.get()).get(), rl.get());
  ClearSharingTable();
}

TEST_F(SharingTest, ReleaseSharedTakesWhatOnlyTheTableHeld) {
  CellRef kept = ShareValue(Tree("f (g 1)").get());
  const size_t before = SharingTableSize();  // f, g, 1, (g 1), the root
  CellRef gone = ShareValue(Tree("k (g 1) (m 2)").get());
  EXPECT_EQ(SharingTableSize(), before + 6);  // k, (k (g 1)), m, 2, (m 2), the root
  ReleaseShared(std::move(gone));
  EXPECT_EQ(SharingTableSize(), before);  // (g 1) is still kept's
  // A graph that is no representative goes as any other, its
  // representative parts with it when nothing else holds them.
  CellRef loose = MakeApp(ShareValue(Tree("p q").get()), MakeLeaf("r"));
  EXPECT_EQ(SharingTableSize(), before + 3);
  ReleaseShared(std::move(loose));
  EXPECT_EQ(SharingTableSize(), before);
  // Held elsewhere too: nothing leaves the table.
  CellRef second = kept.Copy();
  ReleaseShared(std::move(second));
  EXPECT_EQ(SharingTableSize(), before);
  EXPECT_EQ(Show(kept.get()), "(f (g 1))");
}

}  // namespace
}  // namespace mox

namespace mox {
namespace {

// The table grows by half where it stands as it fills: every entry must be
// found again afterwards, whichever slots its probe run passed or wrapped
// around.
TEST_F(SharingTest, EveryEntryIsFoundAfterTheTableGrows) {
  std::vector<CellRef> kept;
  ReserveSharingTable(5000);  // room given at once, empty and then full
  for (int i = 0; i < 40000; ++i) {
    if (i == 20000) ReserveSharingTable(400000);
    std::string n = std::to_string(i);
    kept.push_back(ShareValue(Tree(("f " + n + " (g " + n + ")").c_str()).get()));
  }
  const size_t size = SharingTableSize();
  EXPECT_EQ(size, 2u + 4 * 40000);  // f, g; per i: the number, (g i), (f i), the root
  for (int i = 0; i < 40000; ++i) {
    std::string n = std::to_string(i);
    CellRef again = Tree(("f " + n + " (g " + n + ")").c_str());
    ASSERT_EQ(ShareValue(again.get()).get(), kept[static_cast<size_t>(i)].get()) << i;
  }
  EXPECT_EQ(SharingTableSize(), size);
  // Erasing after the moves leaves every other entry findable.
  for (size_t i = 0; i < kept.size(); i += 2) ReleaseShared(std::move(kept[i]));
  EXPECT_EQ(SharingTableSize(), 2u + 4 * 20000);
  for (int i = 1; i < 40000; i += 2) {
    std::string n = std::to_string(i);
    CellRef again = Tree(("f " + n + " (g " + n + ")").c_str());
    ASSERT_EQ(ShareValue(again.get()).get(), kept[static_cast<size_t>(i)].get()) << i;
  }
  EXPECT_EQ(SharingTableSize(), 2u + 4 * 20000);
}

// After a first pruning, each later one looks only at the entries added
// since (by loaded texts and `tern`). It must keep exactly what a pruning of
// the whole table would: random graphs of values, redexes and lambdas whose
// bodies hold redexes, shared in a second round over a pruned first one,
// against both rounds shared into an empty table and pruned at once.
TEST_F(SharingTest, PruningWhatWasAddedKeepsWhatAWholePruningWould) {
  DefineKAndLambda();
  uint32_t seed = 777;
  auto next = [&seed](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  auto graphs = [&](int count, const char* number) {
    std::vector<CellRef> made;
    for (int g = 0; g < count; ++g) {
      std::vector<CellRef> pool;
      for (const char* leaf : {"K", "1", number, "x", "\\ x"}) pool.push_back(Tree(leaf));
      for (int i = 0; i < 6; ++i) {
        CellRef f = pool[next(static_cast<uint32_t>(pool.size()))].Copy();
        CellRef a = pool[next(static_cast<uint32_t>(pool.size()))].Copy();
        pool.push_back(MakeApp(std::move(f), std::move(a)));
      }
      made.push_back(std::move(pool.back()));
    }
    return made;
  };
  // The second round's new number makes new shapes among old ones.
  const std::vector<CellRef> first = graphs(400, "2"), second = graphs(40, "3");
  for (const CellRef& g : first) ShareValue(g.get());
  KeepOnlySharedValues();
  for (const CellRef& g : second) ShareValue(g.get());
  KeepOnlySharedValues();
  const size_t in_rounds = SharingTableSize();
  ClearSharingTable();
  for (const auto* round : {&first, &second})
    for (const CellRef& g : *round) ShareValue(g.get());
  KeepOnlySharedValues();
  EXPECT_EQ(SharingTableSize(), in_rounds);
  ClearSharingTable();
}

// A name goes stale when a load changes its number of parameters. Entries
// holding it go, whether it was entered before the last pruning (and is
// among the names merged) or after it; a stale leaf met again is not
// entered.
TEST_F(SharingTest, StaleNamesGoWithWhatHoldsThem) {
  DefineKAndLambda();
  Globals().Set(Text("ff"), Tree("(\\ a a)"));
  Globals().Set(Text("gg"), Tree("(\\ a a)"));
  std::vector<CellRef> numbers;  // values that stay
  for (int n = 0; n < 100; ++n) numbers.push_back(ShareLeafBytes(std::to_string(n)));
  ShareValue(Tree("K (K ff)").get());
  ShareValue(Tree("K (K 5)").get());
  KeepOnlySharedValues();  // the numbers, K, ff, (K ff), (K (K ff)), (K 5), (K (K 5))
  CellRef gg = Tree("gg");
  AnalyseCell(gg.get());  // as a graph held across a load would be
  GlobalTable merged;
  merged.Set(Text("ff"), Tree("(\\ a (\\ b a))"));
  Globals().Set(Text("ff"), merged.Find("ff")->Copy());
  Globals().Set(Text("gg"), Tree("(\\ a (\\ b a))"));
  ForgetStaleNames(&merged);
  EXPECT_EQ(SharingTableSize(), 103u);
  KeepOnlySharedValues();
  // A stale leaf is not entered again: a fresh copy stands for it.
  CellRef held = ShareValue(MakeApp(MakeLeaf("K"), gg.Copy()).get());
  EXPECT_NE(held->a, gg.get());
  EXPECT_EQ(SharingTableSize(), 105u);
  // That copy, analysed and then stale in turn, is among the added entries.
  AnalyseCell(held->a);
  Globals().Set(Text("gg"), Tree("(\\ a a)"));
  held = CellRef();
  const GlobalTable none;
  ForgetStaleNames(&none);
  EXPECT_EQ(SharingTableSize(), 103u);
  EXPECT_EQ(ShareValue(Tree("K (K 5)").get())->a, ShareValue(Tree("K 5").get()).get());
  numbers.clear();
  ClearSharingTable();
}

// Pruning moves what stays into a table of its own size, in place: from a
// table grown for 60,000 entries down to one for a few hundred, each kept
// entry is found again, those from the far end of the old table included.
TEST_F(SharingTest, ThePrunedTableShrinksWhereItStands) {
  std::vector<CellRef> kept;
  for (int n = 0; n < 60000; ++n) kept.push_back(ShareLeafBytes(std::to_string(n)));
  for (size_t i = 0; i < kept.size(); ++i)
    if (i % 100 != 0) ReleaseShared(std::move(kept[i]));
  EXPECT_EQ(SharingTableSize(), 600u);
  KeepOnlySharedValues();  // numbers are values: all stay
  EXPECT_EQ(SharingTableSize(), 600u);
  for (size_t i = 0; i < kept.size(); i += 100)
    ASSERT_EQ(ShareLeafBytes(std::to_string(i)).get(), kept[i].get()) << i;
  EXPECT_EQ(SharingTableSize(), 600u);
  kept.clear();
  ClearSharingTable();
}

}  // namespace
}  // namespace mox

namespace mox {
namespace {

// Leaves too large for the pool's chunks are held by the table through a
// list of their own: they are found, dropped and their places reused like
// any other entry, among pooled ones, across growth and pruning.
TEST_F(SharingTest, LargeLeavesMixWithPooledCells) {
  DefineKAndLambda();
  auto big = [](int n) { return "[" + std::string(400, 'a') + std::to_string(n) + "]"; };
  std::vector<CellRef> kept;
  for (int round = 0; round < 3; ++round) {
    for (int n = 0; n < 2000; ++n) {
      CellRef shared = ShareValue(MakeApp(MakeLeaf("K"), MakeLeaf(big(n))).get());
      if (round == 0) kept.push_back(std::move(shared));
      else ASSERT_EQ(shared.get(), kept[static_cast<size_t>(n)].get());
      // Entered and let go again: its text's place is free for the next.
      CellRef passing = MakeApp(MakeLeaf("K"), MakeLeaf(big(10000 * (round + 1) + n)));
      CellRef entered = ShareValue(passing.get());
      passing = CellRef();
      ReleaseShared(std::move(entered));
    }
    // K, the values and their texts; 1, 2 and (K 1) after the first pruning.
    ASSERT_EQ(SharingTableSize(), 1u + 2u * 2000u + (round == 0 ? 0u : 3u));
    ShareValue(Tree("K 1 2").get());  // a redex: pruning drops it and moves the rest
    KeepOnlySharedValues();
  }
  EXPECT_EQ(SharingTableSize(), 1u + 2u * 2000u + 3u);
  for (int n = 0; n < 2000; n += 7) {
    CellRef text = MakeLeaf(big(n));
    ASSERT_EQ(ShareValue(text.get()).get(), kept[static_cast<size_t>(n)]->a);
  }
  kept.clear();
  ClearSharingTable();
}

}  // namespace
}  // namespace mox
