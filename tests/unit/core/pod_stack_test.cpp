// The stack of plain records: it keeps every record through growth well
// past the sizes where the system moves the block instead of copying it,
// and shrinks and empties without touching what stays.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/pod_stack.h"

namespace mox {
namespace {

struct Record {
  uint32_t tag;
  uint64_t value;
};

TEST(PodStack, KeepsItsRecordsThroughGrowthAndShrinking) {
  PodStack<Record> stack;
  EXPECT_TRUE(stack.empty());
  constexpr uint32_t kMany = 3'000'000;  // 48 MB: grown by remapping
  for (uint32_t i = 0; i < kMany; ++i) stack.push_back({i, uint64_t{i} * 7});
  ASSERT_EQ(stack.size(), kMany);
  uint64_t sum = 0;
  uint32_t expected = 0;
  for (const Record& r : stack) {
    ASSERT_EQ(r.tag, expected) << "record " << expected;
    sum += r.value;
    ++expected;
  }
  EXPECT_EQ(sum, uint64_t{7} * kMany * (kMany - 1) / 2);
  EXPECT_EQ(stack.back().tag, kMany - 1);
  stack.resize(10);
  stack.pop_back();
  EXPECT_EQ(stack.size(), 9u);
  EXPECT_EQ(stack.back().value, 8u * 7);
  EXPECT_EQ(stack[3].tag, 3u);
  stack.push_back({99, 1});  // reuses the room past the end
  EXPECT_EQ(stack.data()[9].tag, 99u);
  stack.clear();
  EXPECT_TRUE(stack.empty());
}

}  // namespace
}  // namespace mox
