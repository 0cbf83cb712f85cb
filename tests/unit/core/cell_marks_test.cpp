// Sets of cells by address: marks in separate windows of the address space
// stay apart, and a cell is marked once.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace mox
