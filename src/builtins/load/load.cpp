// The run-time loaders: `load` and `road` take program text from a value,
// define, check and merge it as the program file is (defs/loaded_text.h),
// and evaluate its main expression inside the call, re-entrantly. `load`
// answers "Z" for every problem and replaces existing definitions; `road`
// refuses existing names and answers the error value of the first problem,
// which ends the run with its Banner.
#include <cstdint>
#include <cstring>
#include <string>

#include "builtins/families.h"
#include "defs/loaded_text.h"
#include "diag/error_value.h"
#include "eval/reducer.h"
#include "values/operand.h"

namespace mox {

namespace {

// Addresses below the first page, or in the upper half of the address space
// (negative as a signed number), can be no string a program owns: such an
// address answers "Z" instead of faulting.
constexpr int64_t kFirstOwnedAddress = 4096;

// The program text a value holds: a text's content, a blob's bytes, or the
// NUL-terminated bytes at an integer address; every other value but a real,
// a numb or a void (false: the answer is "Z") holds the empty text.
bool SourceText(Cell* value, Text* text) {
  Operand op;
  ReadOperand(value, &op);
  switch (op.cls) {
    case ValueClass::kReal:
    case ValueClass::kNumb:
    case ValueClass::kVoid:
      return false;
    case ValueClass::kInteger: {
      int64_t address = OperandCount(op);
      if (address < kFirstOwnedAddress) return false;
      const char* s = reinterpret_cast<const char*>(static_cast<uintptr_t>(address));
      *text = Text(s, std::strlen(s));
      return true;
    }
    case ValueClass::kText:
    case ValueClass::kBlob: {
      std::string scratch;
      std::string_view bytes;
      if (!JoinBytes(op, &scratch, &bytes)) return false;  // a text too long to write out
      *text = Text(bytes);
      return true;
    }
    case ValueClass::kVector:
      break;
  }
  *text = Text();
  return true;
}

// Loads in progress, one inside the other. Each nests a whole evaluation on
// the host stack, so their depth is bounded: a load deeper than this answers
// "Z" (road too, having no title for it), which a program that loads itself
// without end meets instead of the end of the stack.
constexpr int kMaxNesting = 1000;
int nesting = 0;

struct Nested {
  Nested() { ++nesting; }
  ~Nested() { --nesting; }
  Nested(const Nested&) = delete;
  Nested& operator=(const Nested&) = delete;
};

CellRef Run(Cell* value, TextOrigin origin) {
  Text text;
  if (nesting >= kMaxNesting || !SourceText(value, &text)) return CellRef();
  Nested level;
  Report report = AllClearReport();
  CellRef main = LoadText(report, std::move(text), origin);
  if (!main) return origin == TextOrigin::kRoad ? MakeErrorValue(report) : CellRef();
  return Evaluate(std::move(main));
}

CellRef Load(const NativeArgs<1>& a) { return Run(a[0], TextOrigin::kLoad); }

CellRef Road(const NativeArgs<1>& a) { return Run(a[0], TextOrigin::kRoad); }

constexpr BuiltinBinding kLoaders[] = {
    Builtin<Load>("load"),
    Builtin<Road>("road"),
};

}  // namespace

BuiltinFamily LoaderBuiltins() { return kLoaders; }

}  // namespace mox
