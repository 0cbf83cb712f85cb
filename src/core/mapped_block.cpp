// Big arrays in mappings of their own; see mapped_block.h.
#include "core/mapped_block.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/memory.h"

namespace mox {

#ifdef MOX_MOVE_PAGES

static_assert(MREMAP_FIXED != 0);

namespace {

size_t RoundUp(size_t n, size_t unit) { return (n + unit - 1) / unit * unit; }

// The mapped size of a block: whole pages, and whole 2 MiB pages once it
// is large enough for them. Every byte past the block's own up to there is
// kept zero, so that growing within it needs no clearing.
size_t Extent(size_t bytes) {
  return bytes < kHugeAdviceMin ? RoundUp(bytes, PageSize()) : RoundUp(bytes, kHugePage);
}

void* MapFresh(size_t extent, const char* what) {
  constexpr int kProt = PROT_READ | PROT_WRITE;
  constexpr int kFlags = MAP_PRIVATE | MAP_ANONYMOUS;
  if (extent < kHugeAdviceMin) {
    void* p = mmap(nullptr, extent, kProt, kFlags, -1, 0);
    if (p == MAP_FAILED) OutOfMemory(what, extent);
    return p;
  }
  // Mapped 2 MiB too large, then trimmed to a 2 MiB boundary.
  const size_t span = extent + kHugePage;
  void* raw = mmap(nullptr, span, kProt, kFlags, -1, 0);
  if (raw == MAP_FAILED) OutOfMemory(what, extent);
  const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t begin = RoundUp(start, kHugePage);
  if (begin > start) munmap(raw, begin - start);
  const uintptr_t end = begin + extent;
  if (start + span > end) munmap(reinterpret_cast<void*>(end), start + span - end);
  AdviseHugePages(reinterpret_cast<void*>(begin), extent);
  return reinterpret_cast<void*>(begin);
}

}  // namespace

void* MapZeroed(size_t bytes, const char* what) {
  if (bytes == 0) return nullptr;
  return MapFresh(Extent(bytes), what);
}

void* RemapZeroed(void* p, size_t old_bytes, size_t new_bytes, const char* what) {
  if (p == nullptr) return MapZeroed(new_bytes, what);
  if (new_bytes == 0) {
    Unmap(p, old_bytes);
    return nullptr;
  }
  const size_t old_extent = Extent(old_bytes), new_extent = Extent(new_bytes);
  auto* bytes = static_cast<unsigned char*>(p);
  if (new_extent <= old_extent) {
    // What stays mapped past the new end is cleared, the rest given back.
    if (new_bytes < old_bytes) std::memset(bytes + new_bytes, 0, (old_bytes < new_extent ? old_bytes : new_extent) - new_bytes);
    if (new_extent < old_extent) munmap(bytes + new_extent, old_extent - new_extent);
    return p;
  }
  void* q = MapFresh(new_extent, what);
  // The old pages move over the start of the new mapping, whose other
  // pages are fresh, thus zero.
  if (mremap(p, old_extent, old_extent, MREMAP_MAYMOVE | MREMAP_FIXED, q) == MAP_FAILED) {
    std::memcpy(q, p, old_bytes);
    munmap(p, old_extent);
  }
  AdviseHugePages(q, new_extent);  // the moved pages join the new mapping's advice
  return q;
}

void Unmap(void* p, size_t bytes) {
  if (p != nullptr) munmap(p, Extent(bytes));
}

#else

void* MapZeroed(size_t bytes, const char* what) {
  if (bytes == 0) return nullptr;
  void* p = CheckedMalloc(bytes, what);
  std::memset(p, 0, bytes);
  return p;
}

void* RemapZeroed(void* p, size_t old_bytes, size_t new_bytes, const char* what) {
  if (new_bytes == 0) {
    std::free(p);
    return nullptr;
  }
  auto* q = static_cast<unsigned char*>(CheckedRealloc(p, new_bytes, what));
  if (new_bytes > old_bytes) std::memset(q + old_bytes, 0, new_bytes - old_bytes);
  return q;
}

void Unmap(void* p, size_t) { std::free(p); }

#endif

}  // namespace mox
