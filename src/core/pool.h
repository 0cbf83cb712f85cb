// The cell allocator. Application cells are all 24 bytes and make up most of
// the traffic, so they come from a free list with an inline fast path; leaf
// blocks come from per-size free lists (8-byte classes up to kPoolMax),
// medium ones from core/medium_pool.h, larger ones from malloc. Memory from
// the pools is kept for reuse, never returned. With MOX_NO_POOL (the
// sanitizer build) every block is a plain malloc, so that LeakSanitizer sees
// each one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/medium_pool.h"

namespace mox {

constexpr size_t kPoolMax = 256;

struct FreeBlock {
  FreeBlock* next;
};

struct PoolState {
  FreeBlock* lists[kPoolMax / 8 + 1];
  char* bump;
  char* bump_end;
  int64_t live;  // blocks handed out and not yet given back
};
extern PoolState g_pool;

void* PoolRefill(size_t bytes);  // slow path: carve from a new chunk
void* PlainAlloc(size_t bytes);  // MOX_NO_POOL: malloc, ending the run when refused

inline void* PoolAlloc(size_t bytes) {  // bytes: a multiple of 8, <= kPoolMax
  ++g_pool.live;
#ifdef MOX_NO_POOL
  return PlainAlloc(bytes);
#else
  FreeBlock*& head = g_pool.lists[bytes >> 3];
  if (head != nullptr) {
    FreeBlock* b = head;
    head = b->next;
    return b;
  }
  if (g_pool.bump + bytes <= g_pool.bump_end) {
    void* p = g_pool.bump;
    g_pool.bump += bytes;
    return p;
  }
  return PoolRefill(bytes);
#endif
}

// A block from the free list or the current chunk; null when neither has
// one (PoolAlloc would take a new chunk). Inline code that must call
// nothing on its fast path allocates with this. PoolAlloc keeps its own
// copy of these steps: written as this and a refill, the compiled
// allocation of every cell took 0.4% more instructions (vecfill, pairs).
inline void* PoolTryAlloc(size_t bytes) {
#ifdef MOX_NO_POOL
  return PoolAlloc(bytes);
#else
  FreeBlock*& head = g_pool.lists[bytes >> 3];
  void* p;
  if (head != nullptr) {
    p = head;
    head = head->next;
  } else if (g_pool.bump + bytes <= g_pool.bump_end) {
    p = g_pool.bump;
    g_pool.bump += bytes;
  } else {
    return nullptr;
  }
  ++g_pool.live;
  return p;
#endif
}

inline void PoolFree(void* p, size_t bytes) {
  --g_pool.live;
#ifdef MOX_NO_POOL
  (void)bytes;
  std::free(p);
#else
  FreeBlock* b = static_cast<FreeBlock*>(p);
  FreeBlock*& head = g_pool.lists[bytes >> 3];
  b->next = head;
  head = b;
#endif
}

// Handles: every 8-byte word of the pool's first kMaxHandleChunks chunks
// has a 32-bit number, the chunk's place in the order the chunks were made
// and the word's place in it, which the pool turns back into the address.
// Tables of millions of cells (the sharing table) keep these instead of
// addresses, at half the room. Other blocks (medium and large ones, later
// chunks, every block with MOX_NO_POOL) have none. A handle never has its
// top bit set, so that its holder may use that bit for other numbers.
constexpr int kHandleOffsetBits = 20;  // words of the largest chunk
constexpr size_t kMaxHandleChunks = size_t{1} << 11;
constexpr uint32_t kNoHandle = UINT32_MAX;
extern char* g_handle_chunks[kMaxHandleChunks];
// The handle of the word at p; kNoHandle when it has none.
uint32_t PoolHandle(const void* p);
inline void* PoolAddress(uint32_t handle) {
  return g_handle_chunks[handle >> kHandleOffsetBits] + size_t{handle & ((1u << kHandleOffsetBits) - 1)} * 8;
}

inline void* PoolAllocApp() { return PoolAlloc(24); }
inline void PoolFreeApp(void* p) { PoolFree(p, 24); }

// Any size: pooled when small or medium (core/medium_pool.h), malloc'ed
// otherwise.
void* LargeAlloc(size_t bytes);
void LargeFree(void* p);
inline void* BlockAlloc(size_t bytes) {
  if (bytes <= kPoolMax) return PoolAlloc(bytes);
  return bytes <= kMediumMax ? MediumAlloc(bytes) : LargeAlloc(bytes);
}
inline void BlockFree(void* p, size_t bytes) {
  if (bytes <= kPoolMax) PoolFree(p, bytes);
  else if (bytes <= kMediumMax) MediumFree(p, bytes);
  else LargeFree(p);
}

}  // namespace mox
