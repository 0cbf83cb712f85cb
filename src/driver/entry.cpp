// The run sequence from command line to exit code.
#include "driver/entry.h"

#include <sys/stat.h>

#include <cstdio>

#include "core/fault.h"
#include "core/interrupt.h"
#include "core/memory.h"
#include "core/output.h"
#include "diag/banner.h"
#include "diag/escape.h"
#include "driver/catalogue.h"
#include "driver/finish.h"
#include "driver/stages.h"
#include "program/globals.h"
#include "values/int_convert.h"

namespace mox {

namespace {

// The longest program file: a place code names offsets up to 2^30, so no
// longer text could be reported on. A larger file (or one that never ends,
// such as /dev/zero) is refused before its bytes are held.
constexpr int64_t kLongestProgram = int64_t{1} << 30;

enum class ReadResult { kRead, kUnreadable, kTooLong };

// Reads the whole file, NUL bytes included, in reads of at most 4095 bytes.
// A directory opens here but cannot be read, and a read can fail part-way:
// both are unreadable files, as one that cannot be opened.
ReadResult ReadWhole(const Text& path, Text* out) {
  FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) return ReadResult::kUnreadable;
  struct stat info;
  bool known = fstat(fileno(file), &info) == 0;
  ReadResult result = ReadResult::kRead;
  if (known && S_ISDIR(info.st_mode)) result = ReadResult::kUnreadable;
  if (known && S_ISREG(info.st_mode) && info.st_size > kLongestProgram) result = ReadResult::kTooLong;
  TextBuilder text;
  char buffer[4096];
  size_t n;
  while (result == ReadResult::kRead && (n = std::fread(buffer, 1, 4095, file)) != 0) {
    text.Append(std::string_view(buffer, n));
    if (text.Length() > kLongestProgram) result = ReadResult::kTooLong;
  }
  if (result == ReadResult::kRead && std::ferror(file)) result = ReadResult::kUnreadable;
  MOX_ASSERT(std::fclose(file) == 0);
  if (result == ReadResult::kRead) *out = text.Flatten();
  return result;
}

int32_t Unreadable(const Text& path) {
  ResultChannel().Write("Error.\n");
  ErrorChannel()
      .Write(" Type: Start\n")
      .Write(" Name: \"")
      .Write(EscapedForm(path))
      .Write("\"\n")
      .Write("Could not read program file.\n")
      .Write("\\/\n");
  return kFailedStage;
}

int32_t TooLong() {
  ErrorChannel().Write("mox: the program file is longer than 1073741824 bytes, the most a program may be\n");
  return kFailedStage;
}

// A failed run lets go of its tables as a finished one does: a vector's
// slots, past its first byte, are not where a leak checker looks for
// references, so what only a vector holds would otherwise read as lost.
int32_t FailedStage(const Report& report) {
  ErrorChannel().Write("\033[m").Write(FormatBanner(report));
  // An interrupt while the banner was written (a long one, to a slow
  // reader) ends the run as an interrupted one, by the action that stands.
  if (InterruptNoted()) RunInterruptAction();
  FinishRun();
  return kFailedStage;
}

}  // namespace

int32_t MoxEntry(int argc, char** argv) {
  MOX_ASSERT(argc != 0);
  InstallMemoryChecks();
  InstallFaultReport();
  if (argc == 1) {
    ErrorChannel().Write(UsageBanner());
    return 1;
  }
  Text path(argv[1]);
  Text program;
  switch (ReadWhole(path, &program)) {
    case ReadResult::kRead: break;
    case ReadResult::kUnreadable: return Unreadable(path);
    case ReadResult::kTooLong: return TooLong();
  }

  InstallBuiltinCatalogue();
  LoadPrelude();
  Report report = AllClearReport();
  DefineProgram(report, program);
  if (!report.IsAllClear()) return FailedStage(report);
  program = Text();  // the definitions hold all the run needs of it

  // Until the checks pass, `shut` is not known to be sound: an interrupt
  // met while a backtick is evaluated ends the run without it. RunProgram
  // hands the action over to Shutdown once the checks are done. Neither
  // action returns.
  InstallInterruptHandler([]() -> bool { ShutdownUnchecked(); });
  RunProgram(report, argv + 2);
  // The reducer acts on an interrupt between its steps; one that came while
  // no step was taken (during the checks, as the result was judged) ends the
  // run here, by the action that stands.
  if (InterruptNoted()) RunInterruptAction();
  if (!report.IsAllClear()) return FailedStage(report);

  CellRef* entry = Globals().Find("");
  MOX_ASSERT(entry != nullptr);
  CellRef result = entry->Copy();
  FinishRun();
  if (InterruptNoted()) Shutdown();  // the table is empty: no `shut` now
  int64_t value = IntegerToInt64(result.get());
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

int ExitStatusFor(int32_t code) { return code == kFailedStage ? 2 : code; }

}  // namespace mox
