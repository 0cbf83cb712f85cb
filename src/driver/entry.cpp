// The run sequence from command line to exit code.
#include "driver/entry.h"

#include <cstdio>

#include "core/interrupt.h"
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

// Reads the whole file, NUL bytes included, in reads of at most 4095 bytes.
Text ReadWhole(const Text& path) {
  FILE* file = std::fopen(path.c_str(), "r");
  MOX_ASSERT(file != nullptr);
  TextBuilder text;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, 4095, file)) != 0) text.Append(std::string_view(buffer, n));
  MOX_ASSERT(std::fclose(file) == 0);
  return text.Flatten();
}

int32_t FailedStage(const Report& report) {
  ErrorChannel().Write("\033[m").Write(FormatBanner(report));
  return kFailedStage;
}

}  // namespace

int32_t MoxEntry(int argc, char** argv) {
  MOX_ASSERT(argc != 0);
  if (argc == 1) {
    ErrorChannel().Write(UsageBanner());
    return 1;
  }
  Text path(argv[1]);
  FILE* probe = std::fopen(path.c_str(), "r");
  if (probe == nullptr) {
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
  std::fclose(probe);
  Text program = ReadWhole(path);

  InstallBuiltinCatalogue();
  LoadPrelude();
  Report report = AllClearReport();
  DefineProgram(report, program);
  if (!report.IsAllClear()) return FailedStage(report);
  program = Text();  // the definitions hold all the run needs of it

  InstallInterruptHandler(Shutdown);
  RunProgram(report, argv + 2);
  if (!report.IsAllClear()) return FailedStage(report);

  CellRef* entry = Globals().Find("");
  MOX_ASSERT(entry != nullptr);
  CellRef result = entry->Copy();
  FinishRun();
  int64_t value = IntegerToInt64(result.get());
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

int ExitStatusFor(int32_t code) { return code == kFailedStage ? 2 : code; }

}  // namespace mox
