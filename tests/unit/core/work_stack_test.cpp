// Work stacks: they keep every entry through growth well past the sizes
// where the system moves the block instead of copying it, shrink and empty
// without touching what stays, and start in the room a finished stack left.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/cell.h"
#include "core/work_stack.h"

namespace mox {
namespace {

struct Record {
  uint32_t tag;
  uint64_t value;
};

TEST(WorkStack, KeepsItsRecordsThroughGrowthAndShrinking) {
  WorkStack<Record> stack;
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

// Handles held by a stack keep their counts through a move of the block,
// and give them back when popped or when the stack ends.
TEST(WorkStack, HoldsCellsThroughGrowth) {
  const int64_t before = LiveCells();
  {
    CellRef leaf = MakeLeaf("7");
    WorkStack<CellRef> stack;
    for (int i = 0; i < 100'000; ++i) stack.push_back(leaf.Copy());
    EXPECT_EQ(leaf->Count(), 100'001u);
    stack.resize(10);
    EXPECT_EQ(leaf->Count(), 11u);
    CellRef top = std::move(stack.back());
    stack.pop_back();
    EXPECT_EQ(top.get(), leaf.get());
  }
  EXPECT_EQ(LiveCells(), before);
}

// Inside KeepWorkRoom a finished stack's room, however large, goes to the
// next stack, which then grows no more; outside, a large room is freed.
TEST(WorkStack, StartsInTheRoomAFinishedStackLeft) {
  constexpr size_t kDeep = 1'000'000;  // 8 MB: above the small room kept at all times
  auto fill = [](WorkStack<uintptr_t>& s) {
    for (size_t i = 0; i < kDeep; ++i) s.push_back(i);
  };
  {
    const KeepWorkRoom keep;
    const uintptr_t* first;
    {
      WorkStack<uintptr_t> a;
      fill(a);
      first = a.data();
    }
    WorkStack<uintptr_t> b;
    b.push_back(1);
    EXPECT_EQ(b.data(), first);  // the same block, not grown again
    fill(b);
    EXPECT_EQ(b.data(), first);
    {
      WorkStack<uintptr_t> nested;  // while b holds the large room
      nested.push_back(2);
      EXPECT_NE(nested.data(), first);
    }
  }
  const WorkRoom room = TakeWorkRoom();  // the largest kept now
  EXPECT_LE(room.bytes, kSmallWorkRoom);
  GiveBackWorkRoom(room);
}

}  // namespace
}  // namespace mox
