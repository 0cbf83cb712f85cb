// The out-of-memory report and the checked allocation paths; see memory.h.
#include "core/memory.h"

#include <gmp.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "core/assert.h"

namespace mox {

namespace {

size_t g_ceiling = 0;  // 0: not yet computed
MemoryRefusal g_refusal = nullptr;

// The machine's memory and swap: more than that can never be had at once.
size_t MachineMemory() {
  long pages = sysconf(_SC_PHYS_PAGES);
  long page = sysconf(_SC_PAGESIZE);
  constexpr uint64_t kUnknown = uint64_t{1} << 40;  // when the system will not say
  size_t bytes = pages > 0 && page > 0 ? static_cast<size_t>(pages) * static_cast<size_t>(page)
                                       : static_cast<size_t>(std::min<uint64_t>(kUnknown, SIZE_MAX));
  if (FILE* f = std::fopen("/proc/meminfo", "r")) {
    char line[128];
    unsigned long long kb;
    while (std::fgets(line, sizeof line, f) != nullptr)
      if (std::sscanf(line, "SwapTotal: %llu kB", &kb) == 1) bytes += static_cast<size_t>(kb) * 1024;
    std::fclose(f);
  }
  return bytes;
}

void NewFailed() { OutOfMemory("a table of the interpreter", 0); }

void* GmpAlloc(size_t n) { return CheckedMalloc(n, "a number"); }
void* GmpRealloc(void* p, size_t, size_t n) { return CheckedRealloc(p, n, "a number"); }
void GmpFree(void* p, size_t) { std::free(p); }

}  // namespace

void OutOfMemory(const char* what, uint64_t bytes) {
  std::fflush(nullptr);  // what the program wrote through C's streams first
  WriteOnFatalPath(2, "mox: out of memory: ", 20);
  WriteOnFatalPath(2, what, std::strlen(what));
  if (bytes != 0) {  // operator new does not tell its size
    WriteOnFatalPath(2, " of ", 4);
    WriteDecimalOnFatalPath(2, bytes);
    WriteOnFatalPath(2, " bytes", 6);
  }
  WriteOnFatalPath(2, " could not be allocated\n", 24);
  _exit(kOutOfMemoryStatus);
}

size_t PageSize() {
  static const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  return page;
}

void GiveBackPages(const void* begin, const void* end) {
#ifdef MADV_DONTNEED
  const uintptr_t page = PageSize();
  const uintptr_t first = (reinterpret_cast<uintptr_t>(begin) + page - 1) & ~(page - 1);
  const uintptr_t last = reinterpret_cast<uintptr_t>(end) & ~(page - 1);
  if (first < last) madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
#else
  (void)begin;
  (void)end;
#endif
}

void AdviseHugePages(void* p, size_t bytes) {
#ifdef MADV_HUGEPAGE
  if (p == nullptr || bytes < kHugeAdviceMin) return;
  // The advice covers every page the block touches. A block this large is
  // a mapping of its own (malloc maps each block over its threshold), and
  // advice on a part of a mapping splits it in two, which mremap cannot
  // move as one: realloc then copied the block beside its old self. The
  // system backs only the aligned 2 MiB ranges inside with such pages.
  const uintptr_t page = PageSize();
  const uintptr_t start = reinterpret_cast<uintptr_t>(p);
  const uintptr_t begin = start & ~(page - 1);
  const uintptr_t end = (start + bytes + page - 1) & ~(page - 1);
  // Advice only: where the system has no such pages the block works as it is.
  madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)p;
  (void)bytes;
#endif
}

void* CheckedMalloc(size_t bytes, const char* what) {
  void* p = std::malloc(bytes);
  if (p == nullptr && bytes != 0) OutOfMemory(what, bytes);
  AdviseHugePages(p, bytes);
  return p;
}

void* CheckedRealloc(void* p, size_t bytes, const char* what) {
  void* q = std::realloc(p, bytes);
  if (q == nullptr && bytes != 0) OutOfMemory(what, bytes);
  AdviseHugePages(q, bytes);
  return q;
}

void* CheckedAlignedAlloc(size_t alignment, size_t bytes, const char* what) {
  void* p = std::aligned_alloc(alignment, bytes);
  if (p == nullptr && bytes != 0) OutOfMemory(what, bytes);
  AdviseHugePages(p, bytes);
  return p;
}

void InstallMemoryChecks() {
#if defined(__GLIBC__) && defined(M_MMAP_THRESHOLD) && !defined(__SANITIZE_ADDRESS__)
  // glibc raises its mmap threshold to the size of every mapped block freed
  // (up to 32 MiB), and its trim threshold with it: after a big start-up
  // table or work stack is freed, the blocks of the next ones come from the
  // heap, and once freed stay there, counted in the peak for the rest of
  // the run. Fixed thresholds map every block of 128 KiB or more on its own
  // and give the heap's free top back: the 100,000-definition start-up
  // peaks at 198 MB instead of 230 MB.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  mallopt(M_TRIM_THRESHOLD, 128 * 1024);
#endif
  std::set_new_handler(NewFailed);
  mp_set_memory_functions(GmpAlloc, GmpRealloc, GmpFree);
}

bool MemoryRequestFits(uint64_t bytes, const char* what) {
  if (g_ceiling == 0) g_ceiling = MachineMemory();
  if (bytes <= g_ceiling) return true;
  if (g_refusal == nullptr) OutOfMemory(what, bytes);
  g_refusal();
  return false;
}

void SetMemoryCeiling(size_t bytes, MemoryRefusal refusal) {
  g_ceiling = bytes;
  g_refusal = refusal;
}

}  // namespace mox

// The standard containers allocate through these: a refusal gets the same
// report, with the size asked for, instead of an exception that nothing
// catches. The nothrow forms are replaced too, so that every plain delete
// meets memory from the same malloc (the aligned forms keep the library's
// own pair, which reaches the new-handler above).
void* operator new(size_t bytes) { return mox::CheckedMalloc(bytes == 0 ? 1 : bytes, "a table of the interpreter"); }
void* operator new[](size_t bytes) { return mox::CheckedMalloc(bytes == 0 ? 1 : bytes, "a table of the interpreter"); }
void* operator new(size_t bytes, const std::nothrow_t&) noexcept { return std::malloc(bytes == 0 ? 1 : bytes); }
void* operator new[](size_t bytes, const std::nothrow_t&) noexcept { return std::malloc(bytes == 0 ? 1 : bytes); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
