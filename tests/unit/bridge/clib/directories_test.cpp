// Directory reading through the bridge, over a directory the test makes:
// the dirent records field by field, the order, the name hashes in d_off,
// and the errno of each failure.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

// ASCII names, a two-byte and a four-byte UTF-8 name (a surrogate pair in
// UTF-16), a directory and a link.
class BridgeDirectories : public Bridge {
 protected:
  void SetUp() override {
    Bridge::SetUp();
    ASSERT_EQ(mkdir(dir_.c_str(), 0700), 0);
    for (const char* file : {"b.txt", "a", "\xC3\xA9", "\xF0\x9D\x84\x9E"}) std::ofstream(dir_ + "/" + file).put('x');
    ASSERT_EQ(mkdir((dir_ + "/sub").c_str(), 0700), 0);
    ASSERT_EQ(symlink("a", (dir_ + "/link").c_str()), 0);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    Bridge::TearDown();
  }

  const std::string dir_ = ScratchPath("dir");
};

uint32_t Step(uint32_t hash, uint32_t unit) { return hash * 33 + unit; }

TEST_F(BridgeDirectories, EntriesInNameOrderWithTheirRecords) {
  CellRef d = Call("opendir", Addr(dir_.c_str()));
  ASSERT_NE(Num(d), 0);
  std::vector<std::string> names;
  std::vector<uint32_t> types, offs;
  for (CellRef r = Call("readdir", d.Copy()); Num(r) != 0; r = Call("readdir", d.Copy())) {
    const unsigned char* record = Ptr<unsigned char>(r);
    std::string name = reinterpret_cast<const char*>(record + 28);
    EXPECT_TRUE(At<uint32_t>(record, 0) == 0 && At<uint16_t>(record, 8) == 296) << name;  // d_ino, d_reclen
    EXPECT_EQ(At<uint64_t>(record, 16), name.size());
    names.push_back(name);
    types.push_back(At<uint32_t>(record, 24));
    offs.push_back(At<uint32_t>(record, 4));
  }
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "a", "b.txt", "link", "sub", "\xC3\xA9", "\xF0\x9D\x84\x9E"}));
  EXPECT_EQ(types, (std::vector<uint32_t>{0x4000, 0x4000, 0x8000, 0x8000, 0xC000, 0x4000, 0x8000, 0x8000}));
  ASSERT_EQ(offs.size(), 8u);
  // d_off: the hash of the next name over its UTF-16 code units.
  EXPECT_EQ(offs[1], Step(5381, 'a'));
  EXPECT_EQ(offs[2], Step(Step(Step(Step(Step(5381, 'b'), '.'), 't'), 'x'), 't'));
  EXPECT_EQ(offs[5], Step(5381, 0xE9));
  EXPECT_EQ(offs[6], Step(Step(5381, 0xD834), 0xDD1E) & 0x7FFFFFFF);
  EXPECT_EQ(offs[7], 0x7FFFFFFFu);

  EXPECT_EQ(Ans("closedir", d.Copy()), "0");
  EXPECT_EQ(Ans("closedir", d.Copy()), "01");
  EXPECT_EQ(Ans("errno"), "9");
  EXPECT_EQ(Ans("readdir", d.Copy()), "0");
}

// The allocator may give a closed directory's memory to the next one: its
// stale handle must still be refused, and must not close the new directory.
TEST_F(BridgeDirectories, ClosedHandleNeverNamesALaterDirectory) {
  for (int i = 0; i < 3; ++i) {
    CellRef old_handle = Call("opendir", Addr(dir_.c_str()));
    EXPECT_EQ(Ans("closedir", old_handle.Copy()), "0");
    CellRef handle = Call("opendir", Addr(dir_.c_str()));
    EXPECT_NE(Num(handle), Num(old_handle));
    EXPECT_EQ(Ans("readdir", old_handle.Copy()), "0");
    EXPECT_EQ(Ans("closedir", old_handle.Copy()), "01");
    EXPECT_EQ(Ans("errno"), "9");
    EXPECT_NE(Ans("readdir", handle.Copy()), "0");
    EXPECT_EQ(Ans("closedir", handle.Copy()), "0");
  }
}

TEST_F(BridgeDirectories, FailuresSetErrno) {
  EXPECT_EQ(Ans("opendir", Addr("")), "0");
  EXPECT_EQ(Ans("errno"), "2");
  EXPECT_EQ(Ans("opendir", Addr((dir_ + "/a").c_str())), "0");
  EXPECT_EQ(Ans("errno"), "20");
  EXPECT_EQ(Ans("opendir", L("[.]")), "0");  // the brackets are part of the path
  EXPECT_EQ(Ans("readdir", L("[x]")), "Z");
}

}  // namespace
}  // namespace mox::builtin_test
