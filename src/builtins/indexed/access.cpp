// The shared pieces of the indexed builtins; see access.h.
#include "builtins/indexed/access.h"

#include <cstring>

#include "values/int_convert.h"

namespace mox {

bool TargetBytes(Cell* c, Target target, Span* out) {
  if (!c->IsLeaf()) return false;
  if (target == Target::kText) {
    if (c->First() != '[') return false;
    uint64_t n = LeafView(c).size();  // from the length, never from the brackets
    *out = {c->Bytes() + 1, n >= 2 ? n - 2 : 0};
    return true;
  }
  if (c->First() != kBlobByte) return false;
  BlobView blob = BlobPayload(c);
  *out = {const_cast<unsigned char*>(blob.data), blob.size};  // written in place
  return true;
}

uint64_t LoadBytes(const unsigned char* p, int width) {
  uint64_t v = 0;
  std::memcpy(&v, p, static_cast<size_t>(width));  // the host is little-endian
  return v;
}

void StoreBytes(unsigned char* p, int width, uint64_t v) { std::memcpy(p, &v, static_cast<size_t>(width)); }

uint64_t MagnitudeArgument(const Cell* c) {
  bool negative;
  return IntegerMagnitude64(c, &negative);
}

}  // namespace mox
