// Handles of pooled cells: each turns back into its cell's address, cells
// of different places never share one, and blocks outside the pool's chunks
// (medium and large leaves, every block without the pool) have none.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/cell.h"
#include "core/pool.h"

namespace mox {
namespace {

#ifdef MOX_NO_POOL
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif

TEST(PoolHandle, PooledCellsRoundTripAndLargeOnesHaveNone) {
  std::vector<CellRef> cells;
  std::set<uint32_t> handles;
  // Enough cells to take several chunks, small and large.
  for (int i = 0; i < 600000; ++i) cells.push_back(i % 3 == 0 ? MakeLeaf(std::to_string(i)) : MakeApp(MakeLeaf("K"), MakeLeaf("I")));
  for (const CellRef& c : cells) {
    const uint32_t h = PoolHandle(c.get());
    if (!kPooled) {
      ASSERT_EQ(h, kNoHandle);
      continue;
    }
    ASSERT_NE(h, kNoHandle);
    ASSERT_EQ(h >> 31, 0u);  // the top bit stays free for the holder
    ASSERT_EQ(PoolAddress(h), c.get());
    ASSERT_TRUE(handles.insert(h).second);
  }
  CellRef medium = MakeLeaf(std::string(1000, 'x'));
  CellRef large = MakeLeaf(std::string(100000, 'y'));
  EXPECT_EQ(PoolHandle(medium.get()), kNoHandle);
  EXPECT_EQ(PoolHandle(large.get()), kNoHandle);
  int on_stack = 0;
  EXPECT_EQ(PoolHandle(&on_stack), kNoHandle);
}

}  // namespace
}  // namespace mox
