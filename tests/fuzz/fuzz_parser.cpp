// Fuzz target for the front end: any bytes that pass the bracket check must
// normalise and parse (raw and normalised) without an internal assertion,
// and every cell of the trees must be freed again.
#include <cstddef>
#include <cstdint>

#include "core/cell.h"
#include "front/brackets.h"
#include "front/normalize.h"
#include "front/parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace mox;
  Text text(data, size);
  Report report;
  if (!CheckBrackets(text, report)) return 0;
  const int64_t live = LiveCells();
  {
    CellRef raw = ParseExpression(text);
    CellRef normal = ParseExpression(NormalizeSource(text));
    MOX_ASSERT(raw && normal);
  }
  MOX_ASSERT(LiveCells() == live);
  return 0;
}
