// Sets of cells by address: marks in separate windows of the address space
// stay apart, a cell is marked once, and the marked cells are listed in
// address order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/cell.h"
#include "core/cell_marks.h"

namespace mox {
namespace {

TEST(CellMarks, MarksOnceAndTellsMarkedFromUnmarked) {
  std::vector<CellRef> cells;
  for (int i = 0; i < 1000; ++i) cells.push_back(MakeLeaf(i % 2 ? "x" : "a longer text leaf"));
  CellMarks marks;
  for (size_t i = 0; i < cells.size(); i += 3) EXPECT_TRUE(marks.Mark(cells[i].get()));
  for (size_t i = 0; i < cells.size(); ++i) {
    EXPECT_EQ(marks.Has(cells[i].get()), i % 3 == 0) << i;
    EXPECT_EQ(marks.Mark(cells[i].get()), i % 3 != 0) << i;
  }
}

TEST(CellMarks, AddressesInDifferentWindows) {
  // Cells a word apart and cells megabytes apart: neighbours share a bitmap
  // word, distant ones need bitmaps of their own (asked for in both orders).
  alignas(8) static uint64_t words[3 << 18];  // 6 MiB
  auto* near_a = reinterpret_cast<Cell*>(&words[0]);
  auto* near_b = reinterpret_cast<Cell*>(&words[1]);
  auto* far = reinterpret_cast<Cell*>(&words[(3 << 18) - 1]);
  CellMarks marks;
  EXPECT_FALSE(marks.Has(far));
  EXPECT_TRUE(marks.Mark(near_b));
  EXPECT_FALSE(marks.Has(far));
  EXPECT_FALSE(marks.Has(near_a));
  EXPECT_TRUE(marks.Mark(far));
  EXPECT_TRUE(marks.Has(near_b));
  EXPECT_TRUE(marks.Has(far));
  EXPECT_FALSE(marks.Has(near_a));
}

// Addresses are only numbers to the set, never read: here windows 64 MiB
// apart, which meet in one line of the set's memory of recent windows, and
// are then listed in the order of their addresses.
TEST(CellMarks, CollidingWindowsAndTheirAddressOrder) {
  auto at = [](uintptr_t mib, uintptr_t word) {
    return reinterpret_cast<const Cell*>(((uintptr_t{0x7000} + mib) << 20) + word * 8);
  };
  std::vector<const Cell*> marked;
  for (uintptr_t mib : {128u, 0u, 64u, 192u}) {
    for (uintptr_t word : {5u, 0u, 64u, 131071u}) marked.push_back(at(mib, word));
  }
  CellMarks marks;
  for (const Cell* c : marked) EXPECT_TRUE(marks.Mark(c));
  for (const Cell* c : marked) {
    EXPECT_TRUE(marks.Has(c));
    EXPECT_FALSE(marks.Has(at(64, 7)));  // asked between windows that share the line
  }
  std::vector<const Cell*> listed;
  marks.ForEach([&](Cell* c) { listed.push_back(c); });
  std::sort(marked.begin(), marked.end());
  EXPECT_EQ(listed, marked);
}

}  // namespace
}  // namespace mox
