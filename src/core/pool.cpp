// The slow paths of the cell allocator: new chunks and large blocks.
#include "core/pool.h"

#include "core/assert.h"
#include "core/memory.h"

namespace mox {

PoolState g_pool = {};

namespace {
// Chunks of 1 MiB at first, so that a small run stays small; past the first
// 16 MiB, chunks of 8 MiB on 2 MiB pages (see AdviseHugePages): a big
// program's cells are most of its memory, and it walks them several times.
constexpr size_t kChunkBytes = size_t{1} << 20;
constexpr int kSmallChunks = 16;
constexpr size_t kLargeChunkBytes = size_t{8} << 20;
int g_chunks = 0;
}  // namespace

void* PoolRefill(size_t bytes) {
  // The unused tail of the old chunk goes to the free list of its size.
  size_t tail = static_cast<size_t>(g_pool.bump_end - g_pool.bump);
  if (tail >= 8 && tail <= kPoolMax) {
    FreeBlock* b = reinterpret_cast<FreeBlock*>(g_pool.bump);
    b->next = g_pool.lists[tail >> 3];
    g_pool.lists[tail >> 3] = b;
  }
  const bool large = g_chunks >= kSmallChunks;
  const size_t size = large ? kLargeChunkBytes : kChunkBytes;
  char* chunk = static_cast<char*>(large ? CheckedAlignedAlloc(kHugePage, size, "a block of cells")
                                         : CheckedMalloc(size, "a block of cells"));
  ++g_chunks;
  g_pool.bump = chunk + bytes;
  g_pool.bump_end = chunk + size;
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
