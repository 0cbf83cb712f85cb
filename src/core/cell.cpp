// Making, reading and freeing cells. Freeing never recurses: parts whose
// count drops to zero wait on an explicit stack, so releasing a list of ten
// million cells uses no host stack.
#include "core/cell.h"

#include <vector>

#include "core/alphabet.h"

namespace mox {

namespace {

inline size_t LeafBlockBytes(uint64_t n) { return (16 + n + 1 + 7) & ~size_t{7}; }

inline void* LeafBlock(Cell* c) { return reinterpret_cast<uint64_t*>(c) - 1; }

bool NeedsLengthField(unsigned char first) { return IsDigit(first) || first == '['; }

void FreeOne(Cell* c) {
  if (c->IsApp()) {
    PoolFreeApp(c);
  } else {
    BlockFree(LeafBlock(c), LeafBlockBytes(c->StoredLength()));
  }
}

}  // namespace

[[noreturn]] void CountOverflow() { MOX_FAIL(); }

namespace {

std::vector<Cell*>& Pending() {
  static auto& pending = *new std::vector<Cell*>;  // outlives every static table
  return pending;
}

// Drops one count of a part of a dead cell; a part that dies too is queued.
inline void DropPart(Cell* part, std::vector<Cell*>& pending) {
  if (part == nullptr) return;
  if ((part->h & kCountMask) > 1) {
    --part->h;
  } else {
    MOX_ASSERT((part->h & kCountMask) == 1);
    pending.push_back(part);
  }
}

// Frees one dead cell, queueing the parts that die with it.
inline void FreeDead(Cell* dead, std::vector<Cell*>& pending) {
  if (dead->IsApp()) {
    Cell* f = dead->f;
    Cell* a = dead->a;
    PoolFreeApp(dead);
    DropPart(f, pending);
    DropPart(a, pending);
    return;
  }
  if (dead->Bytes()[0] == kVectorByte) {
    for (size_t i = 0, n = VectorSize(dead); i < n; ++i) DropPart(VectorSlot(dead, i), pending);
  }
  FreeOne(dead);
}

}  // namespace

void FreeCell(Cell* c) {
  MOX_ASSERT((c->h & kCountMask) == 1);
  std::vector<Cell*>& pending = Pending();
  FreeDead(c, pending);
  while (!pending.empty()) {
    Cell* dead = pending.back();
    pending.pop_back();
    FreeDead(dead, pending);
  }
}

void CellRef::Assign(const CellRef& source) {
  MOX_ASSERT(p_ != nullptr);
  MOX_ASSERT(source.p_ != nullptr);
  if (p_ == source.p_) return;
  Retain(source.p_);
  Cell* old = p_;
  p_ = source.p_;
  Release(old);
}

Cell* AllocLeaf(size_t n) {
  auto* block = static_cast<uint64_t*>(BlockAlloc(LeafBlockBytes(n)));
  block[0] = n;
  Cell* c = reinterpret_cast<Cell*>(block + 1);
  c->h = kLeafBit | 1;
  c->Bytes()[n] = 0;
  return c;
}

CellRef FinishLeaf(Cell* c) {
  uint64_t n = c->StoredLength();
  if (NeedsLengthField(c->Bytes()[0]) && n < kFieldLimit) c->SetField(n);
  return CellRef(c);
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

CellRef FunctionPart(const CellRef& c) {
  MOX_ASSERT(c->IsApp());
  MOX_ASSERT(c->f != nullptr);
  return CellRef::Share(c->f);
}

CellRef ArgumentPart(const CellRef& c) {
  MOX_ASSERT(c->IsApp());
  MOX_ASSERT(c->a != nullptr);
  return CellRef::Share(c->a);
}

BlobView BlobPayload(const Cell* c) {
  const unsigned char* p = c->Bytes() + 1;
  uint64_t n = 0;
  while (*p != ')') n = n * 64 + static_cast<uint64_t>(DigitValue(*p++));
  return {p + 1, n};
}

std::string_view LeafView(const Cell* c) {
  if (c->IsApp()) return {};
  const char* s = reinterpret_cast<const char*>(c->Bytes());
  unsigned char first = c->Bytes()[0];
  if (NeedsLengthField(first)) {
    uint32_t field = c->Field();
    if (field != 0) return {s, field};
    MOX_ASSERT(c->StoredLength() >= kFieldLimit);
    return {s, c->StoredLength()};
  }
  switch (first) {
    case kBlobByte: {
      BlobView b = BlobPayload(c);
      return {s, static_cast<size_t>(b.data - c->Bytes()) + b.size};
    }
    case kRawByte:
      return {s, 9};
    case 0:
      return {s, 1};
    case kVectorByte:
      return {s, 1 + 8 * size_t{VectorSize(c)}};
    default:
      return {s, std::strlen(s)};
  }
}

int64_t LiveCells() { return g_pool.live; }

}  // namespace mox
