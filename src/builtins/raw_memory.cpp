// The builtins that read and write process memory at addresses held as
// integers: post (a blob of the bytes found at an address) and copy (a
// value's bytes written to an address). The program vouches for the
// addresses; only the null address and negative lengths are refused.
#include <string>

#include "builtins/arith_operand.h"
#include "builtins/int_convert.h"
#include "defs/builtin_bindings.h"

namespace mox {

namespace {

bool IsInteger(Cell* c) {
  Operand op;
  ReadOperand(c, &op);
  return op.cls == 'i';
}

void* AddressOf(Cell* c) { return reinterpret_cast<void*>(static_cast<uintptr_t>(IntegerToInt64(c))); }

CellRef& PostHandler(CellRef& out, CellRef redex) {
  Cell* a = NativeArg(redex, 2, 1);
  Cell* b = NativeArg(redex, 2, 2);
  if (!IsInteger(a) || !IsInteger(b)) return AnswerZ(out);
  int64_t n = IntegerToInt64(b);
  if (n < 0 || (n > 0 && AddressOf(a) == nullptr)) return AnswerZ(out);
  out = MakeBlob(AddressOf(a), static_cast<size_t>(n));
  return out;
}

// The bytes copy writes for a value: a blob's payload, a text's content, a
// number's text, a real's eight bytes, a vector's child references (as they
// are: the memory written holds no counts).
bool BytesOf(const Operand& op, std::string* scratch, std::string_view* bytes) {
  if (op.cls == 'r' || op.cls == 'c') {  // the bytes after the marker byte
    *bytes = LeafView(op.cell).substr(1);
    return true;
  }
  return JoinBytes(op, scratch, bytes);
}

CellRef& CopyHandler(CellRef& out, CellRef redex) {
  Cell* a = NativeArg(redex, 2, 1);
  Operand value;
  ReadOperand(NativeArg(redex, 2, 2), &value);
  if (!IsInteger(a) || value.cls == 'e' || AddressOf(a) == nullptr) return AnswerZ(out);
  std::string scratch;
  std::string_view bytes;
  if (!BytesOf(value, &scratch, &bytes)) return AnswerZ(out);
  if (!bytes.empty()) std::memcpy(AddressOf(a), bytes.data(), bytes.size());
  out = MakeLeaf("I", 1);
  return out;
}

constexpr NativeBinding kRawMemory[] = {
    {"copy", CopyHandler},
    {"post", PostHandler},
};

}  // namespace

std::span<const NativeBinding> RawMemoryBindings() { return kRawMemory; }

}  // namespace mox
