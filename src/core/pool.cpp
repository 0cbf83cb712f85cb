// The slow paths of the cell allocator: new chunks and large blocks.
#include "core/pool.h"

#include "core/assert.h"
#include "core/memory.h"

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
  char* chunk = static_cast<char*>(CheckedMalloc(kChunkBytes, "a block of cells"));
  g_pool.bump = chunk + bytes;
  g_pool.bump_end = chunk + kChunkBytes;
  return chunk;
}

void* LargeAlloc(size_t bytes) {
  ++g_pool.live;
  return CheckedMalloc(bytes, "a cell");
}

#ifdef MOX_NO_POOL
void* PlainAlloc(size_t bytes) { return CheckedMalloc(bytes, "a cell"); }
#endif

void LargeFree(void* p) {
  --g_pool.live;
  std::free(p);
}

}  // namespace mox
