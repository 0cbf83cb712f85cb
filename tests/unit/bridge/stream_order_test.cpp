// What a program writes through C's streams and what the interpreter and
// other writers put on the same descriptors come out in the order they were
// made: the real binary, its standard output and error into one file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

namespace mox {
namespace {

// Runs `program` (the text of a .mox file) with both streams into one file;
// the file's bytes.
std::string CombinedOutput(const std::string& program) {
  std::string base = testing::TempDir() + "mox_order_" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                     std::to_string(getpid());
  std::string source = base + ".mox", out = base + ".out";
  FILE* f = std::fopen(source.c_str(), "w");
  std::fputs(program.c_str(), f);
  std::fclose(f);
  std::string cmd = std::string(MOX_BINARY) + " " + source + " >" + out + " 2>&1";
  EXPECT_NE(std::system(cmd.c_str()), -1);
  std::string got;
  if (FILE* r = std::fopen(out.c_str(), "rb")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, r)) > 0) got.append(buf, n);
    std::fclose(r);
  }
  std::remove(source.c_str());
  std::remove(out.c_str());
  return got;
}

const char kHelpers[] =
    ",cs\\t\\m{calloc(strlen(t),1)}seq(copy(m,t),m)"
    ",seq\\x\\y\\y";

TEST(StreamOrder, PrintedTextComesBeforeTheBanner) {
  std::string got = CombinedOutput("a\\m{cs([partial])}seq(puts([line]),seq(fputs(m,stdout),seq(free(m),[text])))" +
                                   std::string(kHelpers));
  EXPECT_EQ(got.rfind("[line]\npartial\033[m", 0), 0u) << got;
  EXPECT_NE(got.find("[range]"), std::string::npos) << got;
}

TEST(StreamOrder, LinesComeOutBeforeOtherWritersOnTheDescriptors) {
  EXPECT_EQ(CombinedOutput("a\\c{cs([echo three])}seq(puts([one]),seq(perror([two]),seq(system(c),"
                           "seq(write(1,[four],6),seq(free(c),0)))))" +
                           std::string(kHelpers)),
            "[one]\n[two]: Success\nthree\n[four]");
}

}  // namespace
}  // namespace mox
