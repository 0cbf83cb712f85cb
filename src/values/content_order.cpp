// Streaming comparison of written-out data contents.
#include "values/content_order.h"

#include <string_view>
#include <vector>

#include "core/text.h"
#include "values/text_elements.h"

namespace mox {

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

int CompareContents(Cell* a, Cell* b) {
  if (a->IsLeaf() && b->IsLeaf()) return Sign(Text::Compare(BracketedContent(a), BracketedContent(b)));
  DataContentStream sa(a), sb(b);
  std::string_view pa, pb;
  bool more_a = sa.Next(&pa);
  bool more_b = sb.Next(&pb);
  while (more_a && more_b) {
    size_t n = pa.size() < pb.size() ? pa.size() : pb.size();
    int c = Text::Compare(pa.substr(0, n), pb.substr(0, n));
    if (c != 0) return Sign(c);
    pa.remove_prefix(n);
    pb.remove_prefix(n);
    if (pa.empty()) more_a = sa.Next(&pa);
    if (pb.empty()) more_b = sb.Next(&pb);
  }
  return more_a == more_b ? 0 : (more_a ? 1 : -1);
}

}  // namespace mox
