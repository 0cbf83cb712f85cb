// The slow paths of the cell allocator: new chunks and large blocks.
#include "core/pool.h"

#include "core/assert.h"

namespace mox {

PoolState g_pool = {};

namespace {
constexpr size_t kChunkBytes = size_t{1} << 20;
}

void* PoolRefill(size_t bytes) {
  // The unused tail of the old chunk goes to the free list of its size.
  size_t tail = static_cast<size_t>(g_pool.bump_end - g_pool.bump);
  if (tail >= 8 && tail <= kPoolMax) {
    FreeBlock* b = reinterpret_cast<FreeBlock*>(g_pool.bump);
    b->next = g_pool.lists[tail >> 3];
    g_pool.lists[tail >> 3] = b;
  }
  char* chunk = static_cast<char*>(std::malloc(kChunkBytes));
  MOX_ASSERT(chunk != nullptr);
  g_pool.bump = chunk + bytes;
  g_pool.bump_end = chunk + kChunkBytes;
  return chunk;
}

void* LargeAlloc(size_t bytes) {
  ++g_pool.live;
  void* p = std::malloc(bytes);
  MOX_ASSERT(p != nullptr);
  return p;
}

void LargeFree(void* p) {
  --g_pool.live;
  std::free(p);
}

}  // namespace mox
