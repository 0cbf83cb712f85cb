// Erasing from a table with linear probing, without tombstones: when slot i
// of a probe run (which wraps around the table's end) is emptied, each
// later entry of the run either stays or moves back into the hole, so that
// every search still reaches it.
#pragma once

#include <cstddef>

namespace mox {

// Whether the entry at slot j, whose home slot is `home`, stays where it is
// once slot i, before it in its probe run, is emptied: it does when its
// home lies after i and at or before j, going round.
inline bool StaysAfterErase(size_t i, size_t home, size_t j) {
  return i <= j ? (i < home && home <= j) : (i < home || home <= j);
}

}  // namespace mox
