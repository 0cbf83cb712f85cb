// The leaves with deferred texts: the list's growth and the writing.
#include "core/deferred_text.h"

#include "core/memory.h"

namespace mox {

// A plain array, never freed: cells may die during static destruction.
DeferredText* g_deferred_list = nullptr;
size_t g_deferred_texts = 0;
size_t g_deferred_room = 0;

void GrowDeferredList() {
  MOX_ASSERT(g_deferred_room < deferred_detail::kSizeMask / 2);  // places fit in 32 bits
  size_t room = g_deferred_room == 0 ? 64 : 2 * g_deferred_room;
  g_deferred_list = static_cast<DeferredText*>(
      CheckedRealloc(g_deferred_list, room * sizeof(DeferredText), "the list of deferred texts"));
  g_deferred_room = room;
}

void WriteDeferredTextNow(Cell* c) {
  TextWriter write = g_deferred_list[deferred_detail::PlaceOf(c)].write;
  ForgetDeferredText(c);
  write(c);
}

void WriteAllDeferredTexts() {
  while (g_deferred_texts != 0) WriteDeferredTextNow(g_deferred_list[g_deferred_texts - 1].leaf);
}

}  // namespace mox
