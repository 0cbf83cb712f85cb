// Texts, the builder and the output channels.
#include <gtest/gtest.h>
#include <unistd.h>

#include "core/output.h"
#include "core/text.h"

namespace mox {
namespace {

TEST(Text, SubstringRangesAndOrder) {
  Text abc("abc");
  EXPECT_EQ(abc.Substr(1, 10), "bc");
  EXPECT_TRUE(abc.Substr(3, 1).empty());
  EXPECT_EQ(abc.At(3), 0);
  EXPECT_LT(Text("ab"), Text("abc"));
  EXPECT_LT(Text("\x7f"), Text("\x80"));
  EXPECT_FALSE(Text("b") < Text("ab"));
  EXPECT_DEATH(abc.Substr(4, 1), "ASSERTION FAILED:");
  EXPECT_DEATH(abc.At(4), "ASSERTION FAILED:");
  EXPECT_DEATH(abc.At(-1), "ASSERTION FAILED:");
}

TEST(Text, HoldsNulBytesAndCopiesOnWrite) {
  Text t("a\0b", 3);
  EXPECT_EQ(t.size(), 3);
  Text other = t;
  *other.MutableAt(0) = 'z';
  EXPECT_EQ(t.view(), std::string_view("a\0b", 3));
  EXPECT_EQ(other.view(), std::string_view("z\0b", 3));
  EXPECT_EQ(t.holders(), 1u);
  Text joined = Concat(t, Text("!"));
  EXPECT_EQ(joined.size(), 4);
  joined.Append(joined);  // appending a text to itself
  EXPECT_EQ(joined.size(), 8);
  EXPECT_EQ(Text::FromInt64(-12), "-12");
  EXPECT_EQ(Text::FromUint64(18446744073709551615ull), "18446744073709551615");
}

TEST(Output, WritesInChunksOf4096) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  OutputChannel channel{fds[1]};
  uint64_t before = OutputWriteCalls();
  channel.Write("");
  EXPECT_EQ(OutputWriteCalls(), before);
  std::string big(10000, 'x');
  channel.Write(Text(big));
  EXPECT_EQ(OutputWriteCalls(), before + 3);
  close(fds[1]);
  std::string got;
  char buf[8192];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof buf)) > 0) got.append(buf, static_cast<size_t>(n));
  close(fds[0]);
  EXPECT_EQ(got, big);
}

TEST(Output, ShortWriteIsAnInternalError) {
  EXPECT_DEATH(OutputChannel{-1}.Write("x"), "ASSERTION FAILED:");
}

}  // namespace
}  // namespace mox
