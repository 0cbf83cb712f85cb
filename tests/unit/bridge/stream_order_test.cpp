// What a program writes through C's streams and what the interpreter and
// other writers put on the same descriptors come out in the order they were
// made: the real binary, its standard output and error into one pipe (each
// stream alone is pinned by tests/programs/bridge).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

namespace mox {
namespace {

// Runs `program` (the text of a .mox file) with both streams into one pipe;
// the bytes that came through it.
std::string CombinedOutput(const std::string& program) {
  std::string source = testing::TempDir() + "mox_order_" + std::to_string(getpid()) + ".mox";
  FILE* f = std::fopen(source.c_str(), "w");
  std::fputs(program.c_str(), f);
  std::fclose(f);
  std::string got;
  if (FILE* out = popen((std::string(MOX_BINARY) + " " + source + " 2>&1").c_str(), "r")) {
    for (int c; (c = std::fgetc(out)) != EOF;) got.push_back(static_cast<char>(c));
    pclose(out);
  }
  std::remove(source.c_str());
  return got;
}

// Lines written through C's streams, perror, a child process and a direct
// write, then a partial line that only the failure banner's flush writes out.
TEST(StreamOrder, EveryWriterInTheOrderOfItsCall) {
  std::string got = CombinedOutput(
      "a\\c{cs([echo three])}m{cs([partial])}seq(puts([one]),seq(perror([two]),seq(system(c),"
      "seq(write(1,[four],6),seq(fputs(m,stdout),seq(free(c),seq(free(m),[text])))))))"
      ",cs\\t\\m{calloc(strlen(t),1)}seq(copy(m,t),m),seq\\x\\y\\y");
  EXPECT_EQ(got.rfind("[one]\n[two]: Success\nthree\n[four]partial\033[m", 0), 0u) << got;
  EXPECT_NE(got.find("[range]"), std::string::npos) << got;
}

}  // namespace
}  // namespace mox
