// Medium blocks: every size of the range gets a block of its own that it can
// fill, freed blocks serve the next request of their class, and leaves of
// medium size (with and without a tail) keep their texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/cell.h"
#include "core/medium_pool.h"
#include "core/pool.h"

namespace mox {
namespace {

TEST(MediumPool, BlocksOfEverySizeAreDisjointAndCounted) {
  int64_t live = LiveCells();
  std::vector<std::pair<unsigned char*, size_t>> blocks;
  for (size_t bytes = kPoolMax + 8; bytes <= kMediumMax; bytes += 8) {
    auto* p = static_cast<unsigned char*>(BlockAlloc(bytes));
    std::memset(p, static_cast<int>(bytes / 8 & 0xFF), bytes);
    blocks.push_back({p, bytes});
  }
  EXPECT_EQ(LiveCells(), live + static_cast<int64_t>(blocks.size()));
  for (auto [p, bytes] : blocks) {
    for (size_t i = 0; i < bytes; ++i) ASSERT_EQ(p[i], bytes / 8 & 0xFF) << bytes << " at " << i;
    BlockFree(p, bytes);
  }
  EXPECT_EQ(LiveCells(), live);
}

#ifndef MOX_NO_POOL
TEST(MediumPool, AFreedBlockServesTheNextRequestOfItsClass) {
  void* a = MediumAlloc(kPoolMax + 1);
  MediumFree(a, kPoolMax + 1);
  void* b = MediumAlloc(kPoolMax + kMediumStep);  // same class, larger size
  EXPECT_EQ(a, b);
  void* c = MediumAlloc(kPoolMax + kMediumStep + 1);  // the next class
  EXPECT_NE(c, b);
  MediumFree(b, kPoolMax + kMediumStep);
  MediumFree(c, kPoolMax + kMediumStep + 1);
}
#endif

TEST(MediumPool, MediumLeavesKeepTheirTextsAndTails) {
  for (size_t n : {size_t{240}, size_t{300}, size_t{1000}, size_t{4070}, size_t{5000}}) {
    std::string text(n, 'x');
    text[0] = '[';
    text[n - 1] = ']';
    CellRef leaf = MakeLeaf(text);
    Cell* c = AllocLeafWithTail(n, 40);
    std::memcpy(c->Bytes(), text.data(), n);
    size_t words = 0;
    uint64_t* tail = LeafTail(c, &words);
    ASSERT_EQ(words, 40u);
    for (size_t i = 0; i < words; ++i) tail[i] = ~i;
    CellRef with_tail = FinishLeaf(c);
    EXPECT_EQ(LeafView(leaf.get()), text);
    EXPECT_EQ(LeafView(with_tail.get()), text);
    EXPECT_EQ(tail[39], ~size_t{39});
  }
}

}  // namespace
}  // namespace mox
