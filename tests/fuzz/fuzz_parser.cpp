// Fuzz target for the front end: any bytes that pass the bracket check must
// normalise and parse (raw and normalised) without an internal assertion,
// build the same trees as the direct transcription of the rules used by the
// unit tests (for short inputs, as that one recurses), and free every cell.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "../unit/support/reference_parser.h"
#include "../unit/support/tree_notation.h"
#include "core/cell.h"
#include "front/brackets.h"
#include "front/normalize.h"
#include "front/parser.h"

namespace {

void CheckOne(const mox::Text& text) {
  using namespace mox;
  CellRef tree = ParseExpression(text);
  if (text.size() > 256) return;
  std::string got = testing_notation::Show(tree.get());
  std::string want = testing_notation::Show(reference::Parse(text.view()).get());
  if (got != want) {
    std::fprintf(stderr, "parser: %s\nreference: %s\n", got.c_str(), want.c_str());
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace mox;
  Text text(data, size);
  Report report;
  if (!CheckBrackets(text, report)) return 0;
  const int64_t live = LiveCells();
  CheckOne(text);
  CheckOne(NormalizeSource(text));
  MOX_ASSERT(LiveCells() == live);
  return 0;
}
