// Cells: layout, counting, kinds and freeing without recursion.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/cell.h"
#include "core/write_epoch.h"

namespace mox {
namespace {

TEST(Cell, LeafLengthFieldOnlyForNumbersAndBracketedTexts) {
  CellRef number = MakeLeaf("123");
  CellRef name = MakeLeaf("abc");
  CellRef text = MakeLeaf("[a]");
  EXPECT_EQ(number->Field(), 3u);
  EXPECT_EQ(name->Field(), 0u);
  EXPECT_EQ(text->Field(), 3u);
  EXPECT_TRUE(number->IsLeaf());
  EXPECT_EQ(number->Count(), 1u);
  EXPECT_EQ(number->CacheByte(), 0u);
  EXPECT_EQ(LeafView(name.get()), "abc");
}

// A name's text ends at its first NUL, wherever a program wrote one: in
// the first word of the text, past it, or nowhere before the end.
TEST(Cell, NameTextEndsAtItsFirstNul) {
  for (size_t n : {1, 7, 8, 9, 15, 16, 40}) {
    const std::string letters(n, 'q');
    CellRef name = MakeLeaf(letters);
    EXPECT_EQ(LeafView(name.get()), letters);
    for (size_t cut : {size_t{1}, n / 2, n - 1}) {
      if (cut == 0 || cut >= n) continue;
      CellRef written = MakeLeaf(letters);
      written->Bytes()[cut] = 0;
      EXPECT_EQ(LeafView(written.get()).size(), cut) << n;
    }
  }
}

TEST(Cell, HeaderLayoutIsBitExact) {
  CellRef leaf = MakeLeaf("42");
  // count 1, length field 2, leaf bit; payload right after the header word.
  EXPECT_EQ(leaf->h, (uint64_t{1} << 63) | (uint64_t{2} << 30) | 1);
  EXPECT_EQ(std::memcmp(reinterpret_cast<const char*>(leaf.get()) + 8, "42", 3), 0);
  CellRef app = MakeApp(leaf.Copy(), MakeLeaf("x"));
  EXPECT_EQ(app->h, 1u);
  EXPECT_EQ(*reinterpret_cast<Cell* const*>(reinterpret_cast<const char*>(app.get()) + 8), leaf.get());
  EXPECT_EQ(leaf->Count(), 2u);
}

TEST(Cell, CountChangesPreserveOtherFields) {
  CellRef leaf = MakeLeaf("7");
  leaf->SetAnalysisValue(-3);
  leaf->SetFlag(true);
  uint64_t high = leaf->h & ~kCountMask;
  {
    CellRef more = leaf.Copy();
    EXPECT_EQ(leaf->Count(), 2u);
  }
  EXPECT_EQ(leaf->h & ~kCountMask, high);
  EXPECT_EQ(leaf->AnalysisValue(), -3);
}

TEST(Cell, AnalysisCacheReadsDataAsOne) {
  CellRef leaf = MakeLeaf("[x]");
  leaf->MarkData();
  EXPECT_TRUE(leaf->IsData());
  EXPECT_EQ(leaf->AnalysisValue(), 1);
  leaf->SetAnalysisValue(11);  // keeps the flag bit: 0x40 | 63
  EXPECT_EQ(leaf->CacheByte(), 0x7Fu);
  leaf->SetFlag(false);
  EXPECT_EQ(leaf->CacheByte(), 63u);
  EXPECT_FALSE(leaf->IsData());
}

TEST(Cell, KindsAndTheirTexts) {
  unsigned char data[] = {'x', 0};
  CellRef blob = MakeBlob(data, 2);
  EXPECT_EQ(LeafView(blob.get()), std::string_view("(b)x\0", 5));
  EXPECT_EQ(BlobPayload(blob.get()).size, 2u);
  CellRef empty_blob = MakeBlob(nullptr, 0);
  EXPECT_EQ(LeafView(empty_blob.get()), "()");
  CellRef big_blob = MakeBlob(std::string(70, 'q').data(), 70);  // 70 = 1*64 + 6
  EXPECT_EQ(LeafView(big_blob.get()).substr(0, 4), "(af)");
  CellRef real = MakeReal(1.5);
  EXPECT_EQ(LeafView(real.get()).size(), 9u);
  CellRef nul = MakeLeaf("", 0);
  EXPECT_EQ(LeafView(nul.get()), std::string_view("\0", 1));
  CellRef app = MakeApp(MakeLeaf("f"), MakeLeaf("x"));
  EXPECT_TRUE(LeafView(app.get()).empty());
}

TEST(Cell, HugeNumberTextHasZeroFieldAndIsMeasured) {
  std::string digits(size_t{1} << 26, '7');
  CellRef big = MakeLeaf(digits);
  EXPECT_EQ(big->Field(), 0u);
  EXPECT_EQ(LeafView(big.get()).size(), digits.size());
}

TEST(Cell, ReleasingFreesPartsAndVectorChildren) {
  int64_t before = LiveCells();
  {
    CellRef shared = MakeLeaf("s");
    CellRef vec = MakeVector(3);
    SetVectorSlot(vec.get(), 0, shared.Copy().Leak());
    SetVectorSlot(vec.get(), 2, MakeApp(MakeLeaf("a"), shared.Copy()).Leak());
    EXPECT_EQ(shared->Count(), 3u);
    vec = CellRef();
    EXPECT_EQ(shared->Count(), 1u);
  }
  EXPECT_EQ(LiveCells(), before);
  {
    // A part held twice by the dying cell dies with its second count; one
    // held elsewhere too lives on; two dying parts both go.
    CellRef x = MakeLeaf("x");
    CellRef kept = MakeApp(x.Copy(), x.Copy());
    CellRef self = MakeApp(MakeApp(MakeLeaf("f"), MakeLeaf("1")), MakeApp(MakeLeaf("g"), MakeLeaf("2")));
    CellRef y = MakeLeaf("y");
    CellRef y_again = y.Copy();
    CellRef twice = MakeApp(std::move(y_again), std::move(y));
    kept = CellRef();
    EXPECT_EQ(x->Count(), 1u);
  }
  EXPECT_EQ(LiveCells(), before);
}

TEST(Cell, ReleasingTenMillionCellListUsesNoRecursion) {
  int64_t before = LiveCells();
  {
    CellRef list = MakeLeaf("K");
    for (int i = 0; i < 10'000'000; ++i)
      list = MakeApp(MakeApp(MakeLeaf("J"), MakeLeaf("1")), std::move(list));
    CellRef left = MakeLeaf("K");  // and a left-nested one
    for (int i = 0; i < 1'000'000; ++i) left = MakeApp(std::move(left), MakeLeaf("x"));
  }
  EXPECT_EQ(LiveCells(), before);
}

TEST(Cell, TailLiesPastTheTextAndLeavesTheCellAsProgramsSeeIt) {
  for (size_t n : {size_t{1}, size_t{7}, size_t{8}, size_t{300}}) {
    int64_t live = LiveCells();
    Cell* c = AllocLeafWithTail(n, 5);
    std::memset(c->Bytes(), '9', n);
    size_t words = 0;
    uint64_t* tail = LeafTail(c, &words);
    ASSERT_NE(tail, nullptr);
    EXPECT_EQ(words, 5u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(tail) % 8, 0u);
    EXPECT_GT(reinterpret_cast<unsigned char*>(tail), c->Bytes() + n);  // the NUL stays
    for (size_t i = 0; i < words; ++i) tail[i] = ~uint64_t{0};
    CellRef leaf = FinishLeaf(c);
    EXPECT_EQ(leaf->Field(), n);
    EXPECT_EQ(leaf->StoredLength(), n);
    EXPECT_EQ(LeafView(leaf.get()), std::string(n, '9'));
    EXPECT_EQ(leaf->Bytes()[n], 0);
    leaf = CellRef();
    EXPECT_EQ(LiveCells(), live);
  }
  size_t words = 0;
  EXPECT_EQ(LeafTail(MakeLeaf("123").get(), &words), nullptr);
}

// A deferred text's writer: fills the text with the byte in its tail.
int writes = 0;
void FillFromTail(Cell* c) {
  size_t words = 0;
  const uint64_t* tail = LeafTail(c, &words);
  std::memset(c->Bytes() + 1, static_cast<int>(tail[0]), c->StoredLength() - 1);
  ++writes;
}

TEST(Cell, DeferredTextsAreWrittenOnceWhenReadOrWhenMemoryMayBeRead) {
  int64_t live = LiveCells();
  writes = 0;
  std::vector<CellRef> leaves;
  for (int i = 0; i < 6; ++i) {
    Cell* c = AllocLeafWithTail(40, 1);
    size_t words = 0;
    LeafTail(c, &words)[0] = 'a' + i;
    std::memset(c->Bytes(), '7', 40);
    DeferText(c, FillFromTail);
    leaves.push_back(FinishLeaf(c));
    EXPECT_TRUE(leaves.back()->TextDeferred());
    EXPECT_EQ(leaves.back()->StoredLength(), 40u);
  }
  EXPECT_EQ(g_deferred_texts, 6u);
  // Read through LeafView: written on the spot, once.
  EXPECT_EQ(LeafView(leaves[4].get()), "7" + std::string(39, 'e'));
  EXPECT_EQ(LeafView(leaves[4].get()), "7" + std::string(39, 'e'));
  EXPECT_EQ(writes, 1);
  // Freed unwritten: out of the list, whichever place it held.
  leaves[0] = CellRef();
  leaves[2] = CellRef();
  EXPECT_EQ(g_deferred_texts, 3u);
  // The epoch moves: every text still deferred is written first.
  NoteWrites();
  EXPECT_EQ(g_deferred_texts, 0u);
  EXPECT_EQ(writes, 4);
  for (int i : {1, 3, 5}) {
    EXPECT_FALSE(leaves[static_cast<size_t>(i)]->TextDeferred());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(leaves[static_cast<size_t>(i)]->Bytes())),
              "7" + std::string(39, static_cast<char>('a' + i)));
  }
  leaves.clear();
  EXPECT_EQ(LiveCells(), live);
}

TEST(CellDeath, CountOverflowAndLeafPartsAreInternalErrors) {
  EXPECT_DEATH(
      {
        CellRef leaf = MakeLeaf("x");
        leaf->h |= kCountMask;
        Retain(leaf.get());
      },
      "ASSERTION FAILED:.*cell");
  EXPECT_DEATH({ CellRef leaf = MakeLeaf("x"); leaf->SetAnalysisValue(12); }, "ASSERTION FAILED:");
}

}  // namespace
}  // namespace mox
