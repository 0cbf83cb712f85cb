// Definition tables: iteration in key order whatever the order of
// definition, entries that stay put while others come and go, and erased
// names that are gone for every kind of lookup.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "program/globals.h"
#include "support/leak_checked_test.h"

namespace mox {
namespace {

using GlobalsTest = LeakCheckedTest;

std::vector<std::string> Keys(const GlobalTable& table) {
  std::vector<std::string> keys;
  for (const auto& [key, value] : table) keys.emplace_back(key.view());
  return keys;
}

TEST_F(GlobalsTest, KeyOrderEntriesThatStayAndErasure) {
  GlobalTable table;
  EXPECT_EQ(table.Find("x"), nullptr);
  table.Erase("x");  // nothing to erase
  CellRef& zz = table.Set(Text("zz"), MakeLeaf("1"));
  table.Set(Text("+"), MakeLeaf("2"));
  table.Set(Text(), MakeLeaf("3"));  // the main expression, first of all
  table.Set(Text("\xff"), MakeLeaf("4"));
  table.Set(Text("aa"), MakeLeaf("5"));
  EXPECT_EQ(Keys(table), (std::vector<std::string>{"", "+", "aa", "zz", "\xff"}));
  // Keys alike in their first 8 bytes, or only by what follows a NUL.
  for (const char* key : {"prefixed1", "prefixed", "prefixed0", "prefixe"}) table.Set(Text(key), MakeLeaf("9"));
  table.Set(Text(std::string_view("\0", 1)), MakeLeaf("9"));
  EXPECT_EQ(Keys(table), (std::vector<std::string>{"", std::string(1, '\0'), "+", "aa", "prefixe", "prefixed",
                                                   "prefixed0", "prefixed1", "zz", "\xff"}));
  for (const char* key : {"prefixed1", "prefixed", "prefixed0", "prefixe"}) table.Erase(key);
  table.Erase(std::string_view("\0", 1));
  // Thousands more: the index grows, the entries do not move.
  for (int i = 0; i < 5000; ++i) table.Set(Text("n" + std::to_string(i)), MakeLeaf("6"));
  EXPECT_EQ(&zz, table.Find("zz"));
  table.Set(Text("zz"), MakeLeaf("7"));  // redefined in place
  EXPECT_EQ(LeafView(zz.get()), "7");
  EXPECT_EQ(table.size(), 5005u);

  const uint64_t epoch = table.Epoch();
  EXPECT_NE(table.FindByte('+'), nullptr);
  for (int i = 0; i < 5000; i += 2) table.Erase("n" + std::to_string(i));
  table.Erase("+");
  EXPECT_GT(table.Epoch(), epoch);
  EXPECT_EQ(table.FindByte('+'), nullptr);
  EXPECT_FALSE(table.Contains("n0"));
  EXPECT_TRUE(table.Contains("n1"));
  EXPECT_EQ(&zz, table.Find("zz"));
  EXPECT_EQ(table.size(), 2504u);
  std::vector<std::string> keys = Keys(table);
  ASSERT_EQ(keys.size(), 2504u);
  EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
  // Defined again after its erasure: found, and met once.
  table.Set(Text("n0"), MakeLeaf("8"));
  keys = Keys(table);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "n0"), 1);

  GlobalTable copy;
  copy.CopyFrom(table);
  EXPECT_EQ(Keys(copy), Keys(table));
  EXPECT_EQ(copy.Find("zz")->get(), zz.get());  // the cells are shared
  copy.Clear();
  table.Clear();
  EXPECT_TRUE(table.empty());
  EXPECT_EQ(table.Find("zz"), nullptr);
  EXPECT_TRUE(Keys(table).empty());
}

}  // namespace
}  // namespace mox
