// Big zero-filled arrays that grow and shrink where they stand (the sharing
// table): each is a mapping of its own, at 2 MiB boundaries once it is
// large, so that the system backs it with 2 MiB pages (see
// AdviseHugePages), and it is resized by moving its pages into a new
// mapping, never by copying them. A realloc'd block does not keep those
// pages when the system moves it to an address that is not so aligned,
// and a randomly probed table on 4 KiB pages costs a TLB miss a probe.
//
// Where pages cannot be moved so (no mremap), and under AddressSanitizer,
// whose leak checker looks for references in malloc'd blocks but not in
// mappings of the program's own, they are plain malloc'd blocks.
#pragma once

#include <cstddef>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MOX_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define MOX_ASAN 1
#endif

#if defined(__linux__) && defined(__x86_64__) && !defined(MOX_ASAN)
#define MOX_MOVE_PAGES 1
#endif

namespace mox {

// Whether the blocks are mappings of the program's own, where no leak
// checker looks for references: what they hold need not look like pointers.
#ifdef MOX_MOVE_PAGES
constexpr bool kBlocksAreOwnMappings = true;
#else
constexpr bool kBlocksAreOwnMappings = false;
#endif

// A block of `bytes` zero bytes (null for none); `what` names it in the
// out-of-memory report.
void* MapZeroed(size_t bytes, const char* what);
// The block p of old_bytes resized to new_bytes: its first bytes as they
// were, the rest zero. Returns the block's new place.
void* RemapZeroed(void* p, size_t old_bytes, size_t new_bytes, const char* what);
// Gives back the block p of `bytes` (null: nothing).
void Unmap(void* p, size_t bytes);

}  // namespace mox
