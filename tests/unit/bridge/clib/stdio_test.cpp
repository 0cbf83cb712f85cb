// Streams and descriptors through the bridge: a file written and read back
// with the kinds each member takes, temporary names, and descriptors.
#include <cstdio>

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeStdio = Bridge;

TEST_F(BridgeStdio, FileWrittenAndReadBack) {
  std::string path = ScratchPath("file");
  CellRef f = Call("fopen", Addr(path.c_str()), Addr("w"));
  ASSERT_NE(Num(f), 0);
  EXPECT_EQ(Ans("fputs", Addr("one\n"), f.Copy()), "1");
  EXPECT_EQ(Ans("fputs", L("[text]"), f.Copy()), "Z");  // an integer kind here
  EXPECT_EQ(Ans("fwrite", Blob("BC"), L("1"), L("2"), f.Copy()), "2");  // a blob's payload
  EXPECT_EQ(Ans("fclose", f.Copy()), "0");

  f = Call("fopen", Addr(path.c_str()), Blob(std::string_view("r", 2)));
  char line[8] = {}, rest[8] = {};
  EXPECT_EQ(Num(Call("fgets", Addr(line), L("8"), f.Copy())), Num(Addr(line)));
  EXPECT_EQ(Ans("ftell", f.Copy()), "4");
  EXPECT_EQ(Ans("fread", Addr(rest), L("1"), L("8"), f.Copy()), "2");  // unsigned
  EXPECT_EQ(std::string(line) + rest, "one\nBC");
  EXPECT_EQ(Ans("fclose", f.Copy()), "0");
  EXPECT_EQ(Ans("remove", Addr(path.c_str())), "0");
  EXPECT_EQ(Ans("fopen", Addr("/dev/null"), L("[r]")), "0");  // the mode "[r]" is no mode
}

TEST_F(BridgeStdio, StandardStreamsAndTemporaryNames) {
  EXPECT_EQ(Ptr<FILE>(Call("stdout")), stdout);
  char buffer[L_tmpnam];
  EXPECT_EQ(Num(Call("tmpnam", Addr(buffer))), Num(Addr(buffer)));
  std::string own = Str(Call("tmpnam", L("0")));
  EXPECT_NE(own, buffer);
  EXPECT_EQ(own.rfind(P_tmpdir "/", 0), 0u);
}

TEST_F(BridgeStdio, Descriptors) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  EXPECT_EQ(Ans("write", MakeInt64(ends[1]), L("[abc]"), L("5")), "5");  // the brackets too
  char got[8] = {};
  EXPECT_EQ(Ans("read", MakeInt64(ends[0]), Addr(got), L("8")), "5");
  EXPECT_STREQ(got, "[abc]");
  EXPECT_EQ(Ans("closesocket", MakeInt64(ends[1])), "0");
  EXPECT_EQ(Ans("closesocket", MakeInt64(ends[1])), "01");
  EXPECT_EQ(Ans("errno"), Ans("ebadf"));
  close(ends[0]);
}

}  // namespace
}  // namespace mox::builtin_test
