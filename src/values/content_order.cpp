// Streaming comparison of written-out data contents.
#include "values/content_order.h"

#include <string_view>
#include <vector>

#include "core/text.h"
#include "values/text_elements.h"

namespace mox {

namespace {

// The written-out content of a data value, as a sequence of byte pieces.
class ContentStream {
 public:
  explicit ContentStream(Cell* data) : work_{{data, 0}} {}

  // The next non-empty piece; false at the end.
  bool Next(std::string_view* piece) {
    while (!work_.empty()) {
      Item it = work_.back();
      work_.pop_back();
      if (it.byte == '[') *piece = "[";
      if (it.byte == ']') *piece = "]";
      if (it.byte != 0) return true;
      if (it.cell->IsLeaf()) {
        *piece = BracketedContent(it.cell);
        if (!piece->empty()) return true;
        continue;
      }
      work_.push_back({nullptr, ']'});
      work_.push_back({it.cell->a, 0});
      work_.push_back({nullptr, '['});
      work_.push_back({it.cell->f, 0});
    }
    return false;
  }

 private:
  struct Item {
    Cell* cell;
    char byte;  // 0: write out the cell; else this bracket
  };
  std::vector<Item> work_;
};

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

int CompareContents(Cell* a, Cell* b) {
  if (a->IsLeaf() && b->IsLeaf()) return Sign(Text::Compare(BracketedContent(a), BracketedContent(b)));
  ContentStream sa(a), sb(b);
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
