// The slow paths of the cell allocator: new chunks, large blocks, and the
// handles of the chunks' words.
#include "core/pool.h"

#include <algorithm>

#include "core/assert.h"
#include "core/memory.h"

namespace mox {

PoolState g_pool = {};
char* g_handle_chunks[kMaxHandleChunks] = {};

namespace {
// Chunks of 1 MiB at first, so that a small run stays small; past the first
// 16 MiB, chunks of 8 MiB on 2 MiB pages (see AdviseHugePages): a big
// program's cells are most of its memory, and it walks them several times.
constexpr size_t kChunkBytes = size_t{1} << 20;
constexpr int kSmallChunks = 16;
constexpr size_t kLargeChunkBytes = size_t{8} << 20;
int g_chunks = 0;
static_assert(kLargeChunkBytes / 8 <= (size_t{1} << kHandleOffsetBits));
static_assert(kMaxHandleChunks << kHandleOffsetBits <= (size_t{1} << 31));  // the top bit stays free

// The chunks with handles by address, for PoolHandle: a chunk's place in
// g_handle_chunks beside its start and end.
struct ChunkSpan {
  const char* begin;
  const char* end;
  uint32_t index;
};
ChunkSpan g_spans[kMaxHandleChunks];
size_t g_span_count = 0;

// The first span that begins after p.
ChunkSpan* SpanAfter(const char* p) {
  return std::upper_bound(g_spans, g_spans + g_span_count, p,
                          [](const char* q, const ChunkSpan& s) { return q < s.begin; });
}

void GiveHandles(char* chunk, size_t size) {
  if (g_span_count == kMaxHandleChunks) return;  // its words go without
  const auto index = static_cast<uint32_t>(g_span_count);
  g_handle_chunks[index] = chunk;
  ChunkSpan* at = SpanAfter(chunk);
  std::move_backward(at, g_spans + g_span_count, g_spans + g_span_count + 1);
  *at = {chunk, chunk + size, index};
  ++g_span_count;
}
}  // namespace

uint32_t PoolHandle(const void* p) {
  // The span found last time is tried first: the cells a table enters one
  // after another were mostly made one after another, from one chunk.
  static ChunkSpan last = {nullptr, nullptr, 0};
  const char* c = static_cast<const char*>(p);
  if (c < last.begin || c >= last.end) {
    const ChunkSpan* at = SpanAfter(c);
    if (at == g_spans) return kNoHandle;
    --at;
    if (c >= at->end) return kNoHandle;
    last = *at;
  }
  const auto word = static_cast<uint32_t>((c - last.begin) / 8);
  return (last.index << kHandleOffsetBits) | word;
}

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
  GiveHandles(chunk, size);
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
