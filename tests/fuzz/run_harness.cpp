// The harness of the whole-pipeline fuzz target; see run_harness.h.
//
// Budgets: the reducer runs the interrupt action at every step while the
// note holds kStepNote; the action counts the steps and, every so often,
// the bytes the allocator holds, and stops the evaluation (the note becomes
// kInterruptNote, which also makes long builtins give up) when either budget
// is spent. A size a program asks for that is over the harness's ceiling is
// refused the same way. Nothing here is in the interpreter itself.
#include "run_harness.h"

#include <sanitizer/allocator_interface.h>

#include <vector>

#include "bridge/families.h"
#include "builtins/families.h"
#include "core/graph_walk.h"
#include "core/interrupt.h"
#include "core/memory.h"
#include "core/run_end.h"
#include "defs/check.h"
#include "defs/define.h"
#include "defs/prelude.h"
#include "diag/banner.h"
#include "diag/error_value.h"
#include "driver/catalogue.h"
#include "driver/finish.h"
#include "driver/result.h"
#include "eval/reducer.h"
#include "program/globals.h"
#include "values/int_convert.h"
#include "values/operand.h"

namespace mox::fuzz {

namespace {

constexpr uint64_t kStepBudget = 50000;
constexpr size_t kHeapBudget = size_t{256} << 20;
// Small enough that no single number is long to write out: a power of ten
// million digits (3^20000001), within a ceiling of 32 MiB, took fifty
// seconds to convert and split, in calls that the step budget cannot stop.
constexpr size_t kRequestCeiling = size_t{2} << 20;

uint64_t g_steps = 0;
bool g_stopping = false;

void Stop() {
  g_stopping = true;
  g_interrupted = kInterruptNote;
}

bool CountStep() {
  if (!g_stopping) {
    ++g_steps;
    if (g_steps > kStepBudget) Stop();
    else if ((g_steps & 255) == 0 && __sanitizer_get_current_allocated_bytes() > kHeapBudget) Stop();
  }
  if (g_stopping) {
    g_interrupted = kInterruptNote;  // every evaluation on the way out stops too
    return true;
  }
  g_interrupted = kStepNote;
  return false;
}

CellRef& Refused(CellRef& out, CellRef) {
  out = MakeLeaf("Z", 1);
  return out;
}

bool IsBridgeFamily(BuiltinFamily family) {
  for (BuiltinFamily f : {StdioBuiltins(), StringBuiltins(), TimeBuiltins(), ProcessBuiltins(),
                          DirectoryBuiltins(), SocketBuiltins(), TransferBuiltins(),
                          NameResolutionBuiltins(), AddressTextBuiltins(), DescriptorSetBuiltins()})
    if (f.data() == family.data()) return true;
  return false;
}

std::vector<BuiltinBinding>& Rows() {
  static auto& rows = *new std::vector<BuiltinBinding>;
  return rows;
}

// True when a byte 0xA0 (which the display stops on, as the language
// prescribes) is anywhere in the value.
bool HoldsUnshowable(Cell* root) {
  GraphWalk walk(root);
  while (Cell* c = walk.Next()) {
    if (c->IsApp()) {
      walk.EnterParts(c);
    } else if (c->First() == kVectorByte) {
      for (size_t i = 0; i < c->Field(); ++i)
        if (Cell* slot = VectorSlot(c, i)) walk.Enter(slot);
    } else if (LeafView(c).find('\xA0') != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

// True when the value is an application of an error tag leaf whose argument
// is no error value's text, which the language makes an internal error to
// decode (the leaf an undefined name answers, left in the main expression
// by a backtick and applied to the program's argument, is one).
bool HoldsUndecodableError(const Cell* r) {
  return IsErrorValue(r) && !IsErrorValueText(LeafView(r->a));
}

bool ReportShowable(const Report& r) {
  for (const Text* t : {&r.say, &r.title, &r.vip, &r.tip, &r.way})
    if (t->view().find('\xA0') != std::string_view::npos) return false;
  return true;
}

// load and road take an integer as the address of NUL-terminated bytes,
// which a fuzzed program can only make up: such a call is refused, while
// texts and blobs still load. The real handlers of load and road.
NativeHandler g_loaders[2];

// A load runs the checks on its text, and at times prunes the whole sharing
// table: work of hundreds of steps that the budget would count as one (a
// program that loads in a loop took half a minute under the sanitizers).
constexpr uint64_t kStepsOfALoad = 100;

template <int kLoader>
CellRef& LoadingNoAddress(CellRef& out, CellRef redex) {
  Operand op;
  ReadOperand(NativeArgs<1>(redex.get())[0], &op);
  if (op.cls == ValueClass::kInteger) return Refused(out, std::move(redex));
  g_steps += kStepsOfALoad;
  return g_loaders[kLoader](out, std::move(redex));
}

NativeHandler Harnessed(const BuiltinBinding& row) {
  std::string_view name = row.name;
  int loader = name == "load" ? 0 : name == "road" ? 1 : -1;
  if (loader < 0) return row.handler;
  g_loaders[loader] = row.handler;
  return loader == 0 ? &LoadingNoAddress<0> : &LoadingNoAddress<1>;
}

bool TouchesHost(std::string_view name) {
  if (name == "bond" || name == "post" || name == "copy") return true;
  // Process memory; red and rem keep to their cell, so they are fuzzed.
  return name.size() == 4 && name.substr(0, 3) == "ref";
}

}  // namespace

void InstallHarness() {
  static std::vector<BuiltinFamily> families;
  for (BuiltinFamily family : BuiltinCatalogue()) {
    for (const BuiltinBinding& row : family) {
      bool refused = IsBridgeFamily(family) || TouchesHost(row.name);
      // Only the redex entry, not read-only: every call takes the general way.
      Rows().push_back({row.name, row.arity, refused ? &Refused : Harnessed(row), nullptr, false, nullptr});
    }
  }
  families.push_back(Rows());
  UseBuiltinFamilies(families);
  SetInterruptAction(CountStep);
  SetMemoryCeiling(kRequestCeiling, Stop);
  InstallMemoryChecks();
}

uint64_t RunOneProgram(std::string_view bytes) {
  static char* no_arguments[] = {nullptr};
  g_steps = 0;
  g_stopping = false;
  g_interrupted = kStepNote;
  Text program(bytes.data(), bytes.size());
  LoadPrelude();
  Report report = AllClearReport();
  DefineProgram(report, program);
  if (report.IsAllClear()) CheckProgram(report);
  if (report.IsAllClear()) {
    CellRef* entry = Globals().Find("");
    if (entry == nullptr) entry = &Globals().Set(Text(), MakeLeaf("8"));
    CellRef address = MakeInt64(reinterpret_cast<int64_t>(no_arguments));
    CellRef result = Evaluate(MakeApp(entry->Copy(), std::move(address)));
    if (!HoldsUnshowable(result.get()) && !HoldsUndecodableError(result.get()))
      ClassifyResult(report, std::move(result));
  }
  g_interrupted = 0;
  if (report.IsAllClear()) {
    if (Globals().Find("") != nullptr) FinishRun();
  } else if (ReportShowable(report)) {
    (void)FormatBanner(report);
  }
  EndRun();
  return g_steps;
}

}  // namespace mox::fuzz
