// The conversions behind the bridge's kinds that are not templates, and the
// program's errno.
#include "bridge/kinds.h"

#include <cstdio>

#include "bridge/c_function.h"
#include "values/value_class.h"

namespace mox {

bool AddressOfValue(Cell* value, const void** address) {
  switch (ClassifyValue(value)) {
    case ValueClass::kInteger:
      *address = reinterpret_cast<const void*>(static_cast<uintptr_t>(IntegerToInt64(value)));
      return true;
    case ValueClass::kText:
      if (!value->IsLeaf()) return false;
      *address = value->Bytes();
      return true;
    case ValueClass::kBlob:
      *address = BlobPayload(value).data;
      return true;
    default:
      return false;
  }
}

bool Real::Take(Cell* value, double* out) {
  if (ClassifyValue(value) != ValueClass::kReal) return false;
  *out = RealValue(value);
  return true;
}

CellRef MakeUnsigned(uint64_t v) {
  char digits[24];
  int n = std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(v));
  return MakeLeaf(digits, static_cast<size_t>(n));
}

int& ProgramErrno() {
  static int program_errno = 0;
  return program_errno;
}

}  // namespace mox
