// Hashes for the open-addressing tables: a finishing mix that spreads every
// input bit over all 64 (a table may take its slot from the low bits or the
// high ones), and a hash of a run of bytes built on it.
#pragma once

#include <cstdint>
#include <string_view>

namespace mox {

inline uint64_t MixBits(uint64_t h) {
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ULL;
  h ^= h >> 33;
  return h;
}

inline uint64_t HashBytes(std::string_view bytes) {
  uint64_t h = 0x9e3779b97f4a7c15ULL ^ bytes.size();
  for (unsigned char b : bytes) h = (h ^ b) * 0x100000001b3ULL;  // FNV-1a's step
  return MixBits(h);
}

}  // namespace mox
