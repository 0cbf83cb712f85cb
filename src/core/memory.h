// Running out of memory. Every allocation of the interpreter's own (cells,
// texts, the standard containers through operator new, the numbers library)
// ends here when the system refuses it: a one-line report on standard error
// naming what was being made and how many bytes were asked for, and the exit
// status kOutOfMemoryStatus. A program cannot catch it; nothing is left half
// made, because nothing runs after the report.
//
// A size that a program chose (a repeat count, an exponent, a slot count)
// is tested with MemoryRequestFits before anything is built, so that a
// request larger than the whole machine is reported at once instead of after
// minutes of work, and so that the fuzz harness can refuse it (below).
#pragma once

#include <cstddef>
#include <cstdint>

namespace mox {

constexpr int kOutOfMemoryStatus = 3;

// Writes "mox: out of memory: <what> of <bytes> bytes could not be
// allocated" and ends the process. Uses no allocation of its own.
[[noreturn]] void OutOfMemory(const char* what, uint64_t bytes);

// malloc that ends the process with the report when it fails.
void* CheckedMalloc(size_t bytes, const char* what);
void* CheckedRealloc(void* p, size_t bytes, const char* what);
// The same for a block aligned to `alignment` (a power of two dividing
// bytes); freed with free().
void* CheckedAlignedAlloc(size_t alignment, size_t bytes, const char* what);

// Large blocks are backed by 2 MiB pages where the system offers them.
// The start-up of a big program touches hundreds of megabytes of cells,
// tables and work stacks, each page once or twice: on 4 KiB pages a third
// of its time went to page faults, and the sharing table's random probes
// to TLB misses. Only the aligned 2 MiB ranges inside a block can be so
// backed, so blocks below kHugeAdviceMin are left alone, and small runs
// keep their small footprint. The allocation paths above apply it.
constexpr size_t kHugePage = size_t{2} << 20;
constexpr size_t kHugeAdviceMin = size_t{4} << 20;
void AdviseHugePages(void* p, size_t bytes);

// The system's page size.
size_t PageSize();

// Gives the pages wholly inside [begin, end) of a block back to the system,
// for bytes that will not be read again (a big program's text, as it is
// parsed); they read as zeros if they are. The block stays allocated.
void GiveBackPages(const void* begin, const void* end);

// Installs the checks: operator new's handler and the numbers library's
// allocation functions. Called once, before anything is built.
void InstallMemoryChecks();

// True when a request of `bytes` for `what` may be tried. A request above
// the ceiling (by default the machine's memory and swap) is reported as out
// of memory, unless a refusal action is set: then that action runs and the
// answer is false (the caller answers "Z"). The size is 64 bits wide on
// every build, so that a request past a 32-bit address space is not cut to
// a small one there.
bool MemoryRequestFits(uint64_t bytes, const char* what);

// For the fuzz harness: a lower ceiling, and what to do instead of ending
// the process (it asks the reducer to stop). A null action restores the
// report.
using MemoryRefusal = void (*)();
void SetMemoryCeiling(size_t bytes, MemoryRefusal refusal);

}  // namespace mox
