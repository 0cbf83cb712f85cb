// Streams and descriptors through the bridge: a file written and read back,
// positions, kinds refused, temporary names, and descriptor reads and writes.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeStdio = Bridge;

TEST_F(BridgeStdio, FileWrittenAndReadBack) {
  std::string path = ScratchPath("file");
  CellRef f = Call("fopen", Addr(path.c_str()), Addr("w"));
  ASSERT_NE(Num(f), 0);
  EXPECT_EQ(Ans("fputs", Addr("line one\n"), f.Copy()), "1");
  EXPECT_EQ(Ans("fputs", L("[text]"), f.Copy()), "Z");  // the string is an integer kind here
  EXPECT_EQ(Ans("fputc", L("65"), f.Copy()), "65");
  EXPECT_EQ(Ans("fwrite", Blob("BC\n"), L("1"), L("3"), f.Copy()), "3");  // a blob's payload
  EXPECT_EQ(Ans("fclose", f.Copy()), "0");

  f = Call("fopen", Addr(path.c_str()), Blob(std::string_view("r", 2)));  // a blob holding "r\0"
  ASSERT_NE(Num(f), 0);
  char line[32] = {};
  EXPECT_EQ(Num(Call("fgets", Addr(line), L("32"), f.Copy())), Num(Addr(line)));
  EXPECT_STREQ(line, "line one\n");
  EXPECT_EQ(Ans("ftell", f.Copy()), "9");
  EXPECT_EQ(Ans("fgetc", f.Copy()), "65");
  EXPECT_EQ(Ans("ungetc", L("90"), f.Copy()), "90");
  EXPECT_EQ(Ans("getc", f.Copy()), "90");
  char bytes[8] = {};
  EXPECT_EQ(Ans("fread", Addr(bytes), L("1"), L("8"), f.Copy()), "3");  // unsigned count
  EXPECT_STREQ(bytes, "BC\n");
  EXPECT_NE(Ans("feof", f.Copy()), "0");
  EXPECT_EQ(Ans("clearerr", f.Copy()), "I");
  EXPECT_EQ(Ans("feof", f.Copy()), "0");
  EXPECT_EQ(Ans("fseek", f.Copy(), L("5"), L("0")), "0");
  EXPECT_EQ(Ans("fgetc", f.Copy()), "111");  // 'o'
  fpos_t pos;
  EXPECT_EQ(Ans("fgetpos", f.Copy(), Addr(&pos)), "0");
  EXPECT_EQ(Ans("rewind", f.Copy()), "I");
  EXPECT_EQ(Ans("fsetpos", f.Copy(), Addr(&pos)), "0");
  EXPECT_EQ(Ans("ftell", f.Copy()), "6");
  EXPECT_EQ(Ans("ferror", f.Copy()), "0");
  EXPECT_EQ(Ans("fclose", f.Copy()), "0");
  EXPECT_EQ(Ans("remove", Addr(path.c_str())), "0");
  EXPECT_EQ(Ans("remove", Addr(path.c_str())), "01");
}

TEST_F(BridgeStdio, PathsAndModesSeeTheBracketsOfTexts) {
  EXPECT_EQ(Ans("fopen", Addr("/dev/null"), L("[r]")), "0");  // the mode "[r]" is no mode
  EXPECT_EQ(Ans("fopen", L("[x]"), Real(1)), "Z");
  EXPECT_EQ(Ans("puts", Real(1)), "Z");
}

TEST_F(BridgeStdio, StandardStreamsAndTemporaries) {
  EXPECT_EQ(Ptr<FILE>(Call("stdout")), stdout);
  EXPECT_EQ(Ptr<FILE>(Call("stderr")), stderr);
  EXPECT_EQ(Ans("fileno", Call("stderr")), "2");

  CellRef t = Call("tmpfile");
  ASSERT_NE(Num(t), 0);
  EXPECT_EQ(Ans("fputs", Addr("xyz"), t.Copy()), "1");
  EXPECT_EQ(Ans("setbuf", t.Copy(), L("0")), "I");
  EXPECT_EQ(Ans("fflush", t.Copy()), "0");
  EXPECT_EQ(Ans("ftell", t.Copy()), "3");
  EXPECT_EQ(Ans("fclose", t.Copy()), "0");

  char buffer[L_tmpnam];
  EXPECT_EQ(Num(Call("tmpnam", Addr(buffer))), Num(Addr(buffer)));
  EXPECT_EQ(std::string(buffer).rfind(P_tmpdir "/", 0), 0u);
  std::string own = Str(Call("tmpnam", L("0")));
  EXPECT_NE(own, buffer);
  EXPECT_NE(access(own.c_str(), F_OK), 0);  // names no existing file
}

TEST_F(BridgeStdio, DescriptorReadsWritesAndCloses) {
  int pipe_ends[2];
  ASSERT_EQ(pipe(pipe_ends), 0);
  CellRef in = MakeInt64(pipe_ends[0]), out = MakeInt64(pipe_ends[1]);
  EXPECT_EQ(Ans("write", out.Copy(), L("[abc]"), L("5")), "5");  // the brackets too
  CellRef f = Call("fdopen", out.Copy(), Addr("w"));
  EXPECT_EQ(Ans("fputs", Addr("de"), f.Copy()), "1");
  EXPECT_EQ(Ans("fclose", f.Copy()), "0");  // closes the descriptor too
  char got[16] = {};
  EXPECT_EQ(Ans("read", in.Copy(), Addr(got), L("16")), "7");
  EXPECT_STREQ(got, "[abc]de");
  EXPECT_EQ(Ans("closesocket", in.Copy()), "0");
  EXPECT_EQ(Ans("closesocket", in.Copy()), "01");
  EXPECT_EQ(Ans("errno"), Ans("ebadf"));
  EXPECT_EQ(Ans("write", out.Copy(), Real(0), L("1")), "Z");
}

}  // namespace
}  // namespace mox::builtin_test
