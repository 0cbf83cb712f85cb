// Free lists for medium blocks (above kPoolMax, up to kMediumMax bytes):
// big numbers of a few hundred to a few thousand digits, and the texts of
// that size, are made and dropped at the rate of the arithmetic on them,
// and malloc plus free cost as much as the sum itself. Sizes are rounded up
// to classes of kMediumStep bytes, coarser than the small pool's 8, so that
// a block freed by one value fits the next of about the same size (a chain
// of sums grows its numbers a few bytes at a time). Like the small pool,
// memory taken here is kept for reuse, never returned; with MOX_NO_POOL
// every block is a plain malloc.
#pragma once

#include <cstddef>

namespace mox {

constexpr size_t kMediumMax = 4096;
constexpr size_t kMediumStep = 64;

// bytes: above the small pool's kPoolMax (core/pool.h), at most kMediumMax; the same bytes free the block.
void* MediumAlloc(size_t bytes);
void MediumFree(void* p, size_t bytes);

}  // namespace mox
