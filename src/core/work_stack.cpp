// The blocks that finished work stacks leave for the next ones.
#include "core/work_stack.h"

#include <cstdlib>

#include "core/run_end.h"

namespace mox {

namespace {

// Walks nest (a fold's callback may walk, an evaluation may fold), so a few
// blocks are kept; a stack takes the largest.
constexpr int kKept = 8;
WorkRoom g_kept[kKept];
int g_keeping = 0;  // live KeepWorkRoom scopes

void FreeKept(size_t above) {
  for (WorkRoom& r : g_kept) {
    if (r.block != nullptr && r.bytes > above) {
      std::free(r.block);
      r = {nullptr, 0};
    }
  }
}

[[maybe_unused]] const bool registered = AtRunEnd([] { FreeKept(0); });

}  // namespace

WorkRoom TakeWorkRoom() {
  WorkRoom* best = nullptr;
  for (WorkRoom& r : g_kept)
    if (r.block != nullptr && (best == nullptr || r.bytes > best->bytes)) best = &r;
  if (best == nullptr) return {nullptr, 0};
  const WorkRoom taken = *best;
  *best = {nullptr, 0};
  return taken;
}

void GiveBackWorkRoom(WorkRoom room) {
  if (g_keeping == 0 && room.bytes > kSmallWorkRoom) return std::free(room.block);
  // Into a free slot, or over the smallest kept block when that is smaller.
  WorkRoom* slot = &g_kept[0];
  for (WorkRoom& r : g_kept) {
    if (r.block == nullptr) {
      slot = &r;
      break;
    }
    if (r.bytes < slot->bytes) slot = &r;
  }
  if (slot->block != nullptr && slot->bytes >= room.bytes) return std::free(room.block);
  std::free(slot->block);
  *slot = room;
}

KeepWorkRoom::KeepWorkRoom() { ++g_keeping; }

KeepWorkRoom::~KeepWorkRoom() {
  if (--g_keeping == 0) FreeKept(kSmallWorkRoom);
}

}  // namespace mox
