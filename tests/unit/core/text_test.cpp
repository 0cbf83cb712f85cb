// Texts, the builder and the output channels.
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

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

TEST(Output, FailedWriteIsAnInternalError) {
  EXPECT_DEATH(OutputChannel{-1}.Write("x"), "ASSERTION FAILED:");
}

// A signal that comes while a write to a socket (or a terminal) waits for
// room cuts it short once some bytes have gone; the rest follows, in order.
// Here a reader takes the bytes slowly, signalling the writer between reads.
TEST(Output, WritesCutShortBySignalsGoOn) {
  int fds[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
  int small = 4096;
  setsockopt(fds[0], SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
  setsockopt(fds[1], SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
  struct sigaction note = {}, old = {};
  note.sa_handler = [](int) {};
  sigemptyset(&note.sa_mask);
  ASSERT_EQ(sigaction(SIGUSR1, &note, &old), 0);  // no SA_RESTART
  std::string big;
  for (int i = 0; i < 60000; ++i) big += static_cast<char>('a' + i % 26);
  const pthread_t writer = pthread_self();
  std::string got;
  std::thread reader([&] {
    char buf[1000];
    while (got.size() < big.size()) {
      pthread_kill(writer, SIGUSR1);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
      ssize_t n = read(fds[1], buf, sizeof buf);
      if (n <= 0) break;
      got.append(buf, static_cast<size_t>(n));
    }
  });
  OutputChannel{fds[0]}.Write(big);
  reader.join();
  sigaction(SIGUSR1, &old, nullptr);
  close(fds[0]);
  close(fds[1]);
  EXPECT_EQ(got, big);
}

}  // namespace
}  // namespace mox
