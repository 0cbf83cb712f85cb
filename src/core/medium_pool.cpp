// The medium-block free lists: one list per size class, refilled from chunks
// of their own.
#include "core/medium_pool.h"

#include <cstdlib>

#include "core/assert.h"
#include "core/memory.h"
#include "core/pool.h"

namespace mox {

namespace {

#ifndef MOX_NO_POOL  // without the pool every block comes from malloc

// Class k holds blocks of kPoolMax + k * kMediumStep bytes (k >= 1).
constexpr size_t kClasses = (kMediumMax - kPoolMax) / kMediumStep + 1;
static_assert((kMediumMax - kPoolMax) % kMediumStep == 0);

// 256 KiB chunks: sixty-four blocks of the largest class, and small enough
// that a run which makes a few medium values stays small.
constexpr size_t kMediumChunkBytes = size_t{256} << 10;

struct MediumState {
  FreeBlock* lists[kClasses];
  char* bump;
  char* bump_end;
};
MediumState g_medium = {};

inline size_t ClassOf(size_t bytes) { return (bytes - kPoolMax + kMediumStep - 1) / kMediumStep; }
inline size_t ClassBytes(size_t k) { return kPoolMax + k * kMediumStep; }

inline void Push(void* p, size_t k) {
  FreeBlock* b = static_cast<FreeBlock*>(p);
  b->next = g_medium.lists[k];
  g_medium.lists[k] = b;
}

// A new chunk; what is left of the old one goes to the largest class that
// it can hold, so at most one step's bytes are lost per chunk.
void* Refill(size_t bytes) {
  size_t left = static_cast<size_t>(g_medium.bump_end - g_medium.bump);
  if (left >= ClassBytes(1)) Push(g_medium.bump, (left - kPoolMax) / kMediumStep);
  char* chunk = static_cast<char*>(CheckedMalloc(kMediumChunkBytes, "a block of cells"));
  g_medium.bump = chunk + bytes;
  g_medium.bump_end = chunk + kMediumChunkBytes;
  return chunk;
}

#endif

}  // namespace

void* MediumAlloc(size_t bytes) {
  MOX_ASSERT(bytes > kPoolMax && bytes <= kMediumMax);
  ++g_pool.live;
#ifdef MOX_NO_POOL
  return PlainAlloc(bytes);
#else
  size_t k = ClassOf(bytes);
  if (FreeBlock* b = g_medium.lists[k]) {
    g_medium.lists[k] = b->next;
    return b;
  }
  size_t size = ClassBytes(k);
  if (g_medium.bump + size <= g_medium.bump_end) {
    void* p = g_medium.bump;
    g_medium.bump += size;
    return p;
  }
  return Refill(size);
#endif
}

void MediumFree(void* p, size_t bytes) {
  MOX_ASSERT(bytes > kPoolMax && bytes <= kMediumMax);
  --g_pool.live;
#ifdef MOX_NO_POOL
  std::free(p);
#else
  Push(p, ClassOf(bytes));
#endif
}

}  // namespace mox
