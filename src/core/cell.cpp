// Making, reading and freeing cells. Freeing never recurses: parts whose
// count drops to zero wait on an explicit stack, so releasing a list of ten
// million cells uses no host stack.
#include "core/cell.h"

#include <bit>
#include <cstdint>
#include <vector>

#include "core/alphabet.h"
#include "core/deferred_text.h"
#include "core/memory.h"

namespace mox {

namespace {

inline void* LeafBlock(Cell* c) { return reinterpret_cast<uint64_t*>(c) - 1; }

// A tail starts right after the text block with its own size in words.
inline size_t TailBytes(const Cell* c) {
  size_t words = 0;
  if (LeafTail(c, &words) == nullptr) return 0;
  return 8 + 8 * words;
}

void FreeOne(Cell* c) {
  if (c->IsApp()) {
    PoolFreeApp(c);
  } else {
    if (c->TextDeferred()) ForgetDeferredText(c);
    BlockFree(LeafBlock(c), LeafBlockBytes(c->StoredLength()) + TailBytes(c));
  }
}

}  // namespace

[[noreturn]] void CountOverflow() { MOX_FAIL(); }

namespace {

// Made before main and never destroyed: cells may die during static
// destruction.
std::vector<Cell*>& pending = *new std::vector<Cell*>;

// Drops one count of a part of a dead cell; true when the part dies too.
inline bool Dies(Cell* part) {
  if (part == nullptr) return false;
  if ((part->h & kCountMask) > 1) {
    --part->h;
    return false;
  }
  MOX_ASSERT((part->h & kCountMask) == 1);
  return true;
}

// The same for a part of an application, which is never null.
inline bool PartDies(Cell* part) {
  if ((part->h & kCountMask) > 1) {
    --part->h;
    return false;
  }
  MOX_ASSERT((part->h & kCountMask) == 1);
  return true;
}

// Frees c and every part that dies with it. A dying part is freed next
// without going through the queue (a list dies cell by cell this way);
// only a second dying part of the same cell waits in the queue, as does
// `also` (null or a second cell to free).
[[gnu::noinline]] void FreeChain(Cell* c, Cell* also) {
  if (also != nullptr) pending.push_back(also);
  for (;;) {
    Cell* next = nullptr;
    if (c->IsApp()) {
      Cell* f = c->f;
      Cell* a = c->a;
      PoolFreeApp(c);
      if (PartDies(f)) next = f;
      if (PartDies(a)) {
        if (next != nullptr) pending.push_back(a);
        else next = a;
      }
    } else {
      if (c->Bytes()[0] == kVectorByte) {
        for (size_t i = 0, n = VectorSize(c); i < n; ++i) {
          Cell* child = VectorSlot(c, i);
          if (Dies(child)) pending.push_back(child);
        }
      }
      FreeOne(c);
    }
    if (next == nullptr) {
      if (pending.empty()) return;
      next = pending.back();
      pending.pop_back();
    }
    c = next;
  }
}

}  // namespace

// Most cells die alone: an application whose parts live on, or a leaf that
// holds nothing. Those are freed here, on a path that needs no stack frame;
// what dies with them goes to FreeChain.
void FreeCell(Cell* c) {
  MOX_ASSERT((c->h & kCountMask) == 1);
  if (c->IsApp()) {
    Cell* f = c->f;
    Cell* a = c->a;
    PoolFreeApp(c);
    const bool f_dies = PartDies(f);
    const bool a_dies = PartDies(a);  // after f's count dropped: f may be a
    if (!f_dies && !a_dies) return;
    return FreeChain(f_dies ? f : a, f_dies && a_dies ? a : nullptr);
  }
  if (c->Bytes()[0] != kVectorByte) return FreeOne(c);
  FreeChain(c, nullptr);
}

// No leaf can be that large; the test keeps the size sums below from
// wrapping around.
constexpr size_t kLeafSizeLimit = SIZE_MAX / 4;

Cell* AllocLargeLeaf(size_t n) {
  if (n > kLeafSizeLimit) OutOfMemory("a value", n);
  return StartLeaf(static_cast<uint64_t*>(BlockAlloc(LeafBlockBytes(n))), n, n);
}

Cell* AllocLeafWithTail(size_t n, size_t words) {
  size_t bytes = LeafBlockBytes(n) + 8 + 8 * words;
  return StartLeafWithTail(static_cast<uint64_t*>(BlockAlloc(bytes)), bytes, n);
}

CellRef MakeLeaf(const void* bytes, size_t n) {
  Cell* c = AllocLeaf(n);
  if (n > 0) std::memcpy(c->Bytes(), bytes, n);
  return FinishLeaf(c);
}

CellRef MakeLeaf(const char* s) {
  MOX_ASSERT(s != nullptr);
  return MakeLeaf(s, std::strlen(s));
}

CellRef MakeVector(size_t n) {
  MOX_ASSERT(n < kFieldLimit);
  Cell* c = AllocLeaf(1 + 8 * n);
  c->Bytes()[0] = kVectorByte;
  std::memset(c->Bytes() + 1, 0, 8 * n);
  c->SetField(n);
  return CellRef(c);
}

Cell* AllocBlob(uint64_t n, unsigned char** payload) {
  char digits[12];
  int k = 0;
  if (n > kLeafSizeLimit) OutOfMemory("a blob", n);
  for (uint64_t v = n; v != 0; v >>= 6) digits[k++] = kDigitAlphabet[v & 63];
  Cell* c = AllocLeaf(2 + static_cast<size_t>(k) + n);
  unsigned char* p = c->Bytes();
  *p++ = '(';
  while (k > 0) *p++ = static_cast<unsigned char>(digits[--k]);
  *p++ = ')';
  *payload = p;
  return c;
}

CellRef MakeBlob(const void* data, size_t n) {
  unsigned char* p;
  Cell* c = AllocBlob(n, &p);
  if (n > 0) std::memcpy(p, data, n);
  return CellRef(c);
}

CellRef MakeReal(double d) {
  Cell* c = AllocLeaf(9);
  c->Bytes()[0] = kRawByte;
  std::memcpy(c->Bytes() + 1, &d, 8);  // the host is little-endian
  return CellRef(c);
}

BlobView BlobPayload(const Cell* c) {
  const unsigned char* p = c->Bytes() + 1;
  uint64_t n = 0;
  while (*p != ')') n = n * 64 + static_cast<uint64_t>(DigitValue(*p++));
  return {p + 1, n};
}

namespace {
// The length of a leaf's NUL-terminated text. A leaf's block has room for
// at least 8 text bytes, so the first word is read whole and its first
// zero byte found at once: most names are shorter than that.
size_t NulTerminatedLength(const char* s) {
  uint64_t w;
  std::memcpy(&w, s, 8);  // the host is little-endian
  const uint64_t zero = (w - 0x0101010101010101ULL) & ~w & 0x8080808080808080ULL;
  if (zero != 0) return static_cast<size_t>(std::countr_zero(zero)) / 8;
  return 8 + std::strlen(s + 8);
}
}  // namespace

std::string_view LeafView(const Cell* c) {
  if (c->IsApp()) return {};
  if (c->TextDeferred()) WriteDeferredTextNow(const_cast<Cell*>(c));
  const char* s = reinterpret_cast<const char*>(c->Bytes());
  unsigned char first = c->Bytes()[0];
  if (NeedsLengthField(first)) {
    uint32_t field = c->Field();
    if (field != 0) return {s, field};
    MOX_ASSERT(c->StoredLength() >= kFieldLimit);
    return {s, static_cast<size_t>(c->StoredLength())};
  }
  switch (first) {
    case kBlobByte: {
      BlobView b = BlobPayload(c);
      return {s, static_cast<size_t>(b.data - c->Bytes() + b.size)};
    }
    case kRawByte:
      return {s, 9};
    case 0:
      return {s, 1};
    case kVectorByte:
      return {s, 1 + 8 * size_t{VectorSize(c)}};
    default:
      return {s, NulTerminatedLength(s)};
  }
}

int64_t LiveCells() { return g_pool.live; }

}  // namespace mox
