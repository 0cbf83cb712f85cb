// Sequence joins, cuts and repeats for blobs, bracketed texts and vectors.
#include "values/sequences.h"

#include <algorithm>

#include "core/alphabet.h"
#include "core/interrupt.h"
#include "core/memory.h"
#include "core/run_end.h"

namespace mox {

namespace {
Cell* g_empty_vector = nullptr;
const bool kReleased = AtRunEnd([] {
  Release(g_empty_vector);
  g_empty_vector = nullptr;
});
}  // namespace

CellRef EmptyVector() {
  if (g_empty_vector == nullptr) g_empty_vector = MakeVector(0).Leak();
  return CellRef::Share(g_empty_vector);
}

namespace {

// Copies count children of `from` starting at `start` into slots of `to`
// from `at`, each with its own count (empty slots stay empty).
void CopySlots(Cell* to, size_t at, const Cell* from, size_t start, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    Cell* child = VectorSlot(from, start + i);
    Retain(child);
    SetVectorSlot(to, at + i, child);
  }
}

constexpr uint64_t kRepeatChunk = uint64_t{64} << 20;

uint64_t Magnitude(int64_t n) { return n < 0 ? ~static_cast<uint64_t>(n) + 1 : static_cast<uint64_t>(n); }

}  // namespace

CellRef MakeJoinedBlob(std::string_view first, std::string_view second) {
  uint64_t n = first.size() + second.size();
  unsigned char* p;
  Cell* c = AllocBlob(n, &p);
  if (!first.empty()) std::memcpy(p, first.data(), first.size());
  if (!second.empty()) std::memcpy(p + first.size(), second.data(), second.size());
  return FinishLeaf(c);
}

bool CutBytes(std::string_view s, int64_t n, std::string_view* kept) {
  uint64_t m = Magnitude(n);
  if (m > s.size()) return false;
  *kept = n > 0 ? s.substr(m) : s.substr(0, s.size() - m);
  return true;
}

CellRef RepeatBytes(std::string_view s, uint64_t n, bool blob) {
  // Only memory bounds a repeat; a product past 64 bits asks for them all.
  uint64_t total = s.empty() ? 0 : n > UINT64_MAX / s.size() ? UINT64_MAX : s.size() * n;
  if (!MemoryRequestFits(total, blob ? "a blob" : "a text")) return CellRef();
  unsigned char* p;
  Cell* c;
  if (blob) {
    c = AllocBlob(total, &p);
  } else {
    c = AllocLeaf(total + 2);
    p = c->Bytes();
    *p++ = '[';
    p[total] = ']';
  }
  // Doubling: copy the piece once, then the filled prefix onto the rest, in
  // copies of at most kRepeatChunk bytes with a look at the interrupt note
  // between them, so that SIGINT stops even a repeat of gigabytes soon.
  if (total > 0) {
    std::memcpy(p, s.data(), s.size());
    for (uint64_t filled = s.size(); filled < total;) {
      if (InterruptNoted()) {
        FinishLeaf(c);  // the cell goes as it is, its bytes never read
        return CellRef();
      }
      uint64_t step = std::min({filled, total - filled, kRepeatChunk});
      std::memcpy(p + filled, p, step);
      filled += step;
    }
  }
  return FinishLeaf(c);
}

CellRef JoinVectors(const Cell* a, const Cell* b) {
  size_t na = VectorSize(a), nb = VectorSize(b);
  if (na + nb > kMaxVectorSize) return CellRef();
  CellRef v = MakeVector(na + nb);
  CopySlots(v.get(), 0, a, 0, na);
  CopySlots(v.get(), na, b, 0, nb);
  return v;
}

CellRef CutVector(const Cell* v, int64_t n) {
  size_t size = VectorSize(v);
  uint64_t m = Magnitude(n);
  if (m > size) return CellRef();
  size_t keep = size - m;
  CellRef out = MakeVector(keep);
  CopySlots(out.get(), 0, v, n > 0 ? 0 : m, keep);
  return out;
}

CellRef RepeatVector(const Cell* v, int64_t n) {
  if (n < 0) return CellRef();
  size_t size = VectorSize(v);
  uint64_t times = static_cast<uint64_t>(n);
  if (size != 0 && times > kMaxVectorSize / size) return CellRef();
  if (!MemoryRequestFits(8 * size * times, "a vector")) return CellRef();
  CellRef out = MakeVector(size * times);
  for (uint64_t k = 0; k < times && size != 0; ++k) CopySlots(out.get(), k * size, v, 0, size);
  return out;
}

CellRef AppendToVector(const Cell* v, Cell* x) {
  size_t size = VectorSize(v);
  if (size >= kMaxVectorSize) return CellRef();
  CellRef out = MakeVector(size + 1);
  CopySlots(out.get(), 0, v, 0, size);
  if (!(x->IsLeaf() && x->Bytes()[0] == 'U')) {
    Retain(x);
    SetVectorSlot(out.get(), size, x);
  }
  return out;
}

CellRef PrependToVector(Cell* x, const Cell* v) {
  size_t size = VectorSize(v);
  if (size >= kMaxVectorSize) return CellRef();
  CellRef out = MakeVector(size + 1);
  Retain(x);
  SetVectorSlot(out.get(), 0, x);
  CopySlots(out.get(), 1, v, 0, size);
  return out;
}

}  // namespace mox
