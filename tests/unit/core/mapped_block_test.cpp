// Blocks resized where they stand: what they held stays through growing
// (across the size where they move to 2 MiB boundaries) and shrinking, and
// every byte past their own reads as zero, also after a shrink and a
// growth back within the same pages.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/mapped_block.h"

namespace mox {
namespace {

uint64_t* Words(void* p) { return static_cast<uint64_t*>(p); }

bool Holds(void* p, size_t from, size_t to, bool numbered) {
  for (size_t i = from; i < to; ++i)
    if (Words(p)[i] != (numbered ? i + 1 : 0)) return false;
  return true;
}

TEST(MappedBlock, ResizesKeepTheContentsAndZeroTheRest) {
  size_t words = 1000;
  void* p = MapZeroed(words * 8, "a test block");
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(Holds(p, 0, words, false));
  for (size_t i = 0; i < words; ++i) Words(p)[i] = i + 1;
  // Grown by half many times: from a few pages to many megabytes.
  while (words < (size_t{3} << 20)) {
    size_t more = words + words / 2;
    p = RemapZeroed(p, words * 8, more * 8, "a test block");
    ASSERT_TRUE(Holds(p, 0, words, true)) << words;
    ASSERT_TRUE(Holds(p, words, more, false)) << words;
    for (size_t i = words; i < more; ++i) Words(p)[i] = i + 1;
    words = more;
  }
  // Shrunk a little (the same pages) and grown back: the dropped words are zero.
  p = RemapZeroed(p, words * 8, (words - 100) * 8, "a test block");
  p = RemapZeroed(p, (words - 100) * 8, words * 8, "a test block");
  EXPECT_TRUE(Holds(p, 0, words - 100, true));
  EXPECT_TRUE(Holds(p, words - 100, words, false));
  // Shrunk a lot, then grown far again.
  p = RemapZeroed(p, words * 8, 5000 * 8, "a test block");
  EXPECT_TRUE(Holds(p, 0, 5000, true));
  p = RemapZeroed(p, 5000 * 8, words * 8, "a test block");
  EXPECT_TRUE(Holds(p, 0, 5000, true));
  EXPECT_TRUE(Holds(p, 5000, words, false));
  Unmap(p, words * 8);
}

}  // namespace
}  // namespace mox
