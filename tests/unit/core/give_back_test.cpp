// Pages given back inside a block: only the whole pages within the range
// go, and the bytes around them stay as they were.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "core/memory.h"

namespace mox {
namespace {

TEST(GiveBackPages, OnlyWholePagesInsideTheRangeAreGivenBack) {
  const size_t page = PageSize();
  const size_t size = 16 * page;
  auto* block = static_cast<unsigned char*>(CheckedAlignedAlloc(page, size, "a test block"));
  std::memset(block, 'x', size);
  // From the middle of page 2 to the middle of page 9: pages 3 to 8 go.
  GiveBackPages(block + 2 * page + page / 2, block + 9 * page + page / 2);
  for (size_t i = 0; i < size; i += page / 4) {
    const bool given_back = i >= 3 * page && i < 9 * page;
    EXPECT_EQ(block[i], given_back ? 0 : 'x') << i;
  }
  // A range within one page gives nothing back.
  std::memset(block, 'y', size);
  GiveBackPages(block + 1, block + page - 1);
  EXPECT_EQ(block[page / 2], 'y');
  std::free(block);
}

}  // namespace
}  // namespace mox
