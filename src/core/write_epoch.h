// The write epoch: a counter that moves on whenever bytes of live cells may
// have been changed in place (a builtin that writes texts, blobs or process
// memory, or hands an address to the C library). Anything derived from a
// leaf's bytes and kept beside them, such as the binary form of a big
// number, is trusted only while the epoch it was made in is still current.
#pragma once

#include <cstdint>

namespace mox {

extern uint64_t g_write_epoch;

inline uint64_t WriteEpoch() { return g_write_epoch; }
inline void NoteWrites() { ++g_write_epoch; }

}  // namespace mox
