// Directory reading through the bridge, over a directory the test makes:
// the dirent records field by field, the order, the name hashes in d_off,
// and the errno of each failure.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

struct Record {
  uint32_t ino, off;
  uint16_t reclen;
  uint64_t namlen;
  uint32_t type;
  std::string name;
};

Record Read(const unsigned char* r) {
  Record d;
  std::memcpy(&d.ino, r, 4);
  std::memcpy(&d.off, r + 4, 4);
  std::memcpy(&d.reclen, r + 8, 2);
  std::memcpy(&d.namlen, r + 16, 8);
  std::memcpy(&d.type, r + 24, 4);
  d.name = reinterpret_cast<const char*>(r + 28);
  return d;
}

class BridgeDirectories : public Bridge {
 protected:
  void SetUp() override {
    Bridge::SetUp();
    dir_ = ScratchPath("dir");
    ASSERT_EQ(mkdir(dir_.c_str(), 0700), 0);
    for (const char* file : {"b.txt", "a", "\xC3\xA9", "\xF0\x9D\x84\x9E"}) Touch(dir_ + "/" + file);
    ASSERT_EQ(mkdir((dir_ + "/sub").c_str(), 0700), 0);
    ASSERT_EQ(symlink("a", (dir_ + "/link").c_str()), 0);
  }
  void TearDown() override {
    for (const char* name : {"b.txt", "a", "\xC3\xA9", "\xF0\x9D\x84\x9E", "link"}) unlink((dir_ + "/" + name).c_str());
    rmdir((dir_ + "/sub").c_str());
    rmdir(dir_.c_str());
    Bridge::TearDown();
  }
  static void Touch(const std::string& path) { std::fclose(std::fopen(path.c_str(), "w")); }

  std::string dir_;
};

uint32_t Step(uint32_t hash, uint32_t unit) { return hash * 33 + unit; }

TEST_F(BridgeDirectories, EntriesInNameOrderWithTheirRecords) {
  CellRef d = Call("opendir", Addr(dir_.c_str()));
  ASSERT_NE(Num(d), 0);
  std::vector<Record> got;
  for (CellRef r = Call("readdir", d.Copy()); Num(r) != 0; r = Call("readdir", d.Copy())) {
    got.push_back(Read(Ptr<unsigned char>(r)));
  }
  std::vector<std::string> names;
  for (const Record& r : got) names.push_back(r.name);
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "a", "b.txt", "link", "sub", "\xC3\xA9", "\xF0\x9D\x84\x9E"}));
  ASSERT_EQ(got.size(), 8u);
  for (const Record& r : got) EXPECT_TRUE(r.ino == 0 && r.reclen == 296 && r.namlen == r.name.size()) << r.name;
  EXPECT_EQ(got[0].type, 0x4000u);
  EXPECT_EQ(got[2].type, 0x8000u);
  EXPECT_EQ(got[4].type, 0xC000u);
  EXPECT_EQ(got[5].type, 0x4000u);
  // d_off: the hash of the next name over its UTF-16 code units.
  EXPECT_EQ(got[1].off, Step(5381, 'a'));
  EXPECT_EQ(got[2].off, Step(Step(Step(Step(Step(5381, 'b'), '.'), 't'), 'x'), 't'));
  EXPECT_EQ(got[5].off, Step(5381, 0xE9));
  EXPECT_EQ(got[6].off, Step(Step(5381, 0xD834), 0xDD1E) & 0x7FFFFFFF);
  EXPECT_EQ(got[7].off, 0x7FFFFFFFu);

  EXPECT_EQ(Ans("closedir", d.Copy()), "0");
  EXPECT_EQ(Ans("closedir", d.Copy()), "01");
  EXPECT_EQ(Ans("errno"), "9");
  EXPECT_EQ(Ans("readdir", d.Copy()), "0");
}

TEST_F(BridgeDirectories, FailuresSetErrno) {
  EXPECT_EQ(Ans("opendir", Addr("")), "0");
  EXPECT_EQ(Ans("errno"), "2");
  EXPECT_EQ(Ans("opendir", Addr((dir_ + "/none").c_str())), "0");
  EXPECT_EQ(Ans("errno"), "2");
  EXPECT_EQ(Ans("opendir", Addr((dir_ + "/a").c_str())), "0");
  EXPECT_EQ(Ans("errno"), "20");
  EXPECT_EQ(Ans("opendir", L("[.]")), "0");  // the brackets are part of the path
  EXPECT_EQ(Ans("readdir", L("[x]")), "Z");
}

}  // namespace
}  // namespace mox::builtin_test
