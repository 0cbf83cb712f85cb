// The builtins that read and write process memory at addresses held as
// integers: post (a blob of the bytes found at an address) and copy (a
// value's bytes written to an address). The program vouches for the
// addresses; only the null address and negative lengths are refused.
#include <string>

#include "builtins/families.h"
#include "core/fault.h"
#include "core/memory.h"
#include "values/int_convert.h"
#include "values/operand.h"

namespace mox {

namespace {

bool IsInteger(Cell* c) {
  Operand op;
  ReadOperand(c, &op);
  return op.cls == ValueClass::kInteger;
}

void* AddressOf(Cell* c) { return reinterpret_cast<void*>(static_cast<uintptr_t>(IntegerToInt64(c))); }

CellRef Post(const NativeArgs<2>& args) {
  Cell* a = args[0];
  Cell* b = args[1];
  if (!IsInteger(a) || !IsInteger(b)) return CellRef();
  int64_t n = IntegerToInt64(b);
  if (n < 0 || (n > 0 && AddressOf(a) == nullptr)) return CellRef();
  if (!MemoryRequestFits(static_cast<uint64_t>(n), "a blob")) return CellRef();
  RawAccess raw(args.head);
  return MakeBlob(AddressOf(a), static_cast<size_t>(n));
}

// The bytes copy writes for a value: a blob's payload, a text's content, a
// number's text, a real's eight bytes, a vector's child references (as they
// are: the memory written holds no counts).
bool BytesOf(const Operand& op, std::string* scratch, std::string_view* bytes) {
  if (op.cls == ValueClass::kReal || op.cls == ValueClass::kVector) {  // the bytes after the marker byte
    *bytes = LeafView(op.cell).substr(1);
    return true;
  }
  return JoinBytes(op, scratch, bytes);
}

CellRef Copy(const NativeArgs<2>& args) {
  Cell* a = args[0];
  Operand value;
  ReadOperand(args[1], &value);
  if (!IsInteger(a) || value.cls == ValueClass::kVoid || AddressOf(a) == nullptr) return CellRef();
  std::string scratch;
  std::string_view bytes;
  if (!BytesOf(value, &scratch, &bytes)) return CellRef();
  RawAccess raw(args.head);
  // The destination may lie inside the bytes copied (a number written one
  // place further on in its own text).
  if (!bytes.empty()) std::memmove(AddressOf(a), bytes.data(), bytes.size());
  return MakeLeaf("I", 1);
}

constexpr BuiltinBinding kRawMemory[] = {
    Builtin<Copy>("copy"),
    Builtin<Post>("post"),
};

}  // namespace

BuiltinFamily RawMemoryBuiltins() { return kRawMemory; }

}  // namespace mox
