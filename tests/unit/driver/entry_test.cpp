// The process entry as a user meets it: usage, unreadable files, exit codes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <unistd.h>

#include "core/interrupt.h"
#include "core/memory.h"
#include "defs/check.h"
#include "defs/define.h"
#include "defs/prelude.h"
#include "driver/entry.h"
#include "driver/finish.h"
#include "support/file_bytes.h"
#include "support/many_definitions.h"

namespace mox {
namespace {

struct MoxRun {
  int status;
  std::string out, err;
};

using testing_files::FileBytes;

// Runs the real binary with the given arguments (already shell-quoted);
// `then` is shell text run after starting it in the background, with $pid.
MoxRun RunMox(const std::string& args, const std::string& then = "") {
  // Files of this test's own: tests run in parallel processes.
  std::string base = testing::TempDir() + "mox_" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                     std::to_string(getpid());
  std::string out = base + "_out", err = base + "_err";
  std::string cmd = std::string(MOX_BINARY) + " " + args + " >" + out + " 2>" + err;
  if (!then.empty()) cmd += " & pid=$!; " + then + "; wait $pid";
  int raw = std::system(cmd.c_str());
  return {WEXITSTATUS(raw), FileBytes(out), FileBytes(err)};
}

TEST(Entry, UsageLinesAndStatusOne) {
  MoxRun r = RunMox("");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "                        /\\\n"
            "\\/\\oh [usage]     /\\   /  \\\n"
            "/\\uck_________/\\_/  \\_/    \\_\n"
            " <say> mox file args...\n");
}

TEST(Entry, MissingFileReportWithEscapedPath) {
  MoxRun r = RunMox("\"$(printf '/no/such\\n[file]')\"");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "Error.\n");
  EXPECT_EQ(r.err,
            " Type: Start\n"
            " Name: \"/no/such[0A][5B]file[5D]\"\n"
            "Could not read program file.\n"
            "\\/\n");
}

// A directory opens as a file here, but cannot be read as one.
TEST(Entry, DirectoryIsAnUnreadableFile) {
  MoxRun r = RunMox("/");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "Error.\n");
  EXPECT_EQ(r.err, " Type: Start\n Name: \"/\"\nCould not read program file.\n\\/\n");
}

TEST(Entry, FailedStageCodeMapsToStatusTwoAndOthersPassThrough) {
  EXPECT_EQ(kFailedStage, static_cast<int32_t>(0x80000000u));
  EXPECT_EQ(ExitStatusFor(kFailedStage), 2);
  EXPECT_EQ(ExitStatusFor(0), 0);
  EXPECT_EQ(ExitStatusFor(5), 5);
  EXPECT_EQ(ExitStatusFor(-1), -1);
  char prog[] = "mox";
  char* argv[] = {prog, nullptr};
  EXPECT_EQ(MoxEntry(1, argv), 1);
}

// Writes the program to a file of this test's own; returns its path.
std::string ProgramFile(const std::string& program) {
  std::string path = testing::TempDir() + "mox_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                     "_" + std::to_string(getpid()) + ".mox";
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fputs(program.c_str(), f);
  std::fclose(f);
  return path;
}

// Runs a program that never ends, interrupts it while it runs (`pause`
// seconds after the handler is in place), and returns what it wrote on
// standard error and its exit status.
MoxRun Interrupted(const std::string& program, const char* pause = "0.2") {
  // Interrupt only once the handler is installed (SIGINT caught), so that a
  // slow start cannot meet the default action instead. The process is
  // looked at only once it is mox: until its exec, it is the shell's child,
  // which catches SIGINT too, and an interrupt sent then was lost (the run
  // went on to its end).
  return RunMox(ProgramFile(program),
                "for i in $(seq 400); do m=0; [ \"$(cat /proc/$pid/comm)\" = mox ] && "
                "m=$(awk '/SigCgt/{print $2}' /proc/$pid/status); "
                "[ $((0x${m:-0} & 2)) -ne 0 ] && break; sleep 0.05; done; sleep " +
                    std::string(pause) + "; kill -INT $pid");
}

TEST(Entry, InterruptRunsShutAndExitsWithOne) {
  const std::string loop = "a\\Y(f\\x\\f x)(0)";
  MoxRun plain = Interrupted(loop);
  EXPECT_EQ(plain.status, 1);
  EXPECT_EQ(plain.err, "\n");
  MoxRun quiet = Interrupted(loop + ",shut\\I");
  EXPECT_EQ(quiet.status, 1);
  EXPECT_EQ(quiet.err, "\n");
  // A loop of tail calls made by a branch's strict code stops the same way.
  MoxRun strict = Interrupted("a\\spin(0),spin\\n\\(n<0)(0)(spin(n+1))");
  EXPECT_EQ(strict.status, 1);
  EXPECT_EQ(strict.err, "\n");
  MoxRun complaining = Interrupted(loop + ",shut\\5");
  EXPECT_EQ(complaining.status, 1);
  EXPECT_EQ(complaining.err,
            "\n"
            "                        /\\\n"
            "\\/\\oh [after]     /\\   /  \\\n"
            "/\\uck_________/\\_/  \\_/    \\_\n"
            " <say> The shut function did not return I after SIGHUP.\n");
}

// An interrupted run lets go of what it held, as a finished one does, with
// `shut` or without: the leak checker of the sanitizer build would report
// what only a vector holds otherwise (it does not read a vector's slots).
// raise(2) interrupts at a known point.
TEST(Entry, InterruptedRunLetsGoOfWhatItHeld) {
  const std::string program = "a\\v{fill(cray,0)}_{raise(2)}rank(v),fill\\v\\n\\(n>2)(v)(fill(v/(n+1),n+1))";
  MoxRun plain = RunMox(ProgramFile(program));
  EXPECT_EQ(plain.status, 1);
  EXPECT_EQ(plain.err, "\n");
  MoxRun shut = RunMox(ProgramFile(program + ",shut\\_{puts(init([bye]))}I"));
  EXPECT_EQ(shut.status, 1);
  EXPECT_EQ(shut.out, "bye\n");
  EXPECT_EQ(shut.err, "\n");
  // Interrupted under three bodies waiting for their lets' values, each
  // holding its arguments (the vector among them).
  MoxRun waiting = RunMox(ProgramFile("a\\deep(3,cray),deep\\n\\v\\w{(n<1)(seq(raise(2),v))(deep(n-1,v/(n+1)))}rank(w),seq\\x\\y\\y"));
  EXPECT_EQ(waiting.status, 1);
  EXPECT_EQ(waiting.err, "\n");
}

// An interrupt that comes while a failure's banner is being written (a
// long one, to a reader that has not started) ends the run as interrupted
// once the banner is out: a newline after it, and status 1. The pipe's
// reading end is held open (3<>) but not read, so the banner's write waits
// for room; the interrupt comes while it waits (the writing thread's wait
// channel names the pipe), and only then is the pipe read.
TEST(Entry, InterruptWhileTheBannerIsWrittenEndsTheRun) {
  const std::string path = ProgramFile("a\\sh(16),sh\\n\\(n<1)(K)(x{sh(n-1)}J x x)");
  const std::string base = path.substr(0, path.size() - 4);
  const std::string fifo = base + "_fifo", err = base + "_err";
  const std::string cmd =
      "rm -f " + fifo + "; mkfifo " + fifo + "; exec 3<>" + fifo + "; " + MOX_BINARY + " " + path + " >/dev/null 2>" +
      fifo + " 3>&- & pid=$!; for i in $(seq 200); do case \"$(cat /proc/$pid/task/*/wchan 2>/dev/null)\" in " +
      "*pipe*) break;; esac; sleep 0.05; done; kill -INT $pid; cat <" + fifo + " >" + err +
      " 3>&- & reader=$!; exec 3>&-; wait $pid; status=$?; wait $reader; rm -f " + fifo + "; exit $status";
  const int raw = std::system(cmd.c_str());
  const std::string written = FileBytes(err);
  EXPECT_EQ(WEXITSTATUS(raw), 1);
  ASSERT_GT(written.size(), size_t{700000});
  EXPECT_EQ(written.substr(0, 3), "\033[m");
  EXPECT_EQ(written.substr(written.size() - 3), ")\n\n");
}

// The checks of a big program give way to an interrupt between their passes,
// and the run ends as an interrupted one, not with the banner of the check
// that would have failed at the end (an unbound local). The program's
// `shut` is not run: it has not passed the checks.
TEST(Entry, InterruptDuringTheChecksEndsTheRun) {
  MoxRun r = Interrupted(testing_programs::ManyDefinitions("a\\fna(0,0)+bad(1)", 20000) +
                             ",bad\\x\\(zeta\\zeta) zeta,shut\\5",
                         "0");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "\n");
  // The same when the interrupt meets the reducer evaluating a backtick.
  MoxRun backtick = Interrupted("a\\`(Y(f\\y\\f y)(0)),shut\\5");
  EXPECT_EQ(backtick.status, 1);
  EXPECT_EQ(backtick.err, "\n");
}

// An interrupt noted again before the default action is back (two SIGINTs
// close together) does not start the action over inside `shut`: it runs
// once, and the run ends with one newline.
TEST(Entry, ShutRunsOnceWhenTheInterruptIsNotedAgain) {
  EXPECT_EXIT(
      {
        LoadPrelude();
        Report report = AllClearReport();
        Text program("a\\7,shut\\I");
        DefineProgram(report, program);
        CheckProgram(report);
        InstallInterruptHandler([]() -> bool { Shutdown(); });
        g_interrupted = kInterruptNote;
        Shutdown();
      },
      testing::ExitedWithCode(1), "^\n$");
}

// A long builtin looks at the interrupt note between its rounds: a power of
// two billion digits, a repeat of four gigabytes, the writing out of a
// text of 2^28 bytes made from 27 shared cells and the display form of a
// value of 27 cells that shares its parts (2^27 leaves written out, by
// `lisp` or by the report on a result that is no integer), each far from
// done when the interrupt comes, end like any interrupted run. A display
// form longer than the machine's memory (2^40 leaves) is not begun: it is
// out of memory at once.
TEST(Entry, InterruptStopsLongBuiltins) {
  std::string doubled = "a\\0+(";
  for (int i = 0; i < 27; ++i) doubled += "dd(";
  doubled += "[ab]" + std::string(27, ')') + "+[c]),dd\\x\\dash(x,x)";
  const std::string shared = ",dup\\n\\(n<1)(1)(p{dup(n-1)}V(p,p))";
  const std::string programs[] = {"a\\powa(3,4000000000)", "a\\0+mult([abcd],1000000000)", doubled,
                                  "a\\rank(lisp(dup(27)))" + shared, "a\\dup(27)" + shared};
  for (const std::string& program : programs) {
    MoxRun r = Interrupted(program);
    EXPECT_EQ(r.status, 1) << program;
    EXPECT_EQ(r.err, "\n") << program;
  }
  for (const char* program : {"a\\rank(lisp(dup(40)))", "a\\dup(40)"}) {
    MoxRun r = RunMox(ProgramFile(program + shared));
    EXPECT_EQ(r.status, kOutOfMemoryStatus) << program;
    EXPECT_EQ(r.err, "mox: out of memory: a display form of 6047313952763 bytes could not be allocated\n")
        << program;
  }
}

// A file longer than any program is refused from its size, before a byte of
// it is held (the file here is sparse: nothing is read or written).
TEST(Entry, ProgramFileTooLongIsRefused) {
  std::string path = testing::TempDir() + "mox_long_" + std::to_string(getpid()) + ".mox";
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_EQ(ftruncate(fileno(f), (off_t{1} << 30) + 1), 0);
  std::fclose(f);
  MoxRun r = RunMox(path);
  std::remove(path.c_str());
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "mox: the program file is longer than 1073741824 bytes, the most a program may be\n");
}

// A list that grows until the address space (limited here) is spent ends
// with the one-line report and status 3. The sanitizers need a large
// address space of their own, so this runs in the plain builds only.
TEST(Entry, OutOfMemoryReportsAndExitsWithThree) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit";
#endif
  std::string path = testing::TempDir() + "mox_oom_" + std::to_string(getpid()) + ".mox";
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fputs("a\\Y(f\\n\\l\\f(n+1)(J(n)(l)))(0)(K)", f);
  std::fclose(f);
  std::string cmd = "ulimit -v 300000; " + std::string(MOX_BINARY) + " " + path + " 2>&1 >/dev/null";
  FILE* run = popen(cmd.c_str(), "r");
  std::string err;
  char buf[512];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, run)) > 0) err.append(buf, n);
  int raw = pclose(run);
  std::remove(path.c_str());
  EXPECT_EQ(WEXITSTATUS(raw), 3);
  EXPECT_EQ(err.rfind("mox: out of memory: ", 0), 0u) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
}

}  // namespace
}  // namespace mox
