// Contraction rules for data values at the head of a redex: vectors index
// and build, numbers, texts, blobs and raw words take themselves apart into
// the pair and list shapes of the combinators.
#include "eval/apply_data.h"

#include <vector>

#include "core/graph_fold.h"
#include "core/memory.h"
#include "core/square_brackets.h"
#include "values/bigint.h"
#include "values/dec_digits.h"
#include "values/int_convert.h"
#include "values/number_bits.h"
#include "values/sequences.h"
#include "values/text_elements.h"
#include "values/value_class.h"

namespace mox {

namespace {

CellRef Pair(CellRef first, CellRef second) { return MakeApp(MakeLetter('V'), std::move(first), std::move(second)); }

CellRef Cons(CellRef head, CellRef tail) { return MakeApp(MakeLetter('J'), std::move(head), std::move(tail)); }

bool IsEmptyText(const Cell* c) { return c->IsLeaf() && BracketedContent(c).empty(); }

// The list form of a bracketed text content: K for no elements, else
// (J L(all but the last element) L(last element)), where a one-byte element
// stands for itself and a nested group for the list form of its content.
// Built from the left with an explicit stack over the nesting.
CellRef TextListForm(std::string_view content) {
  // Brackets paired as the element split pairs them, reading from the end.
  std::vector<size_t> partner = SquarePartners(content, true);
  struct Frame {
    CellRef list;
    size_t pos, end;
  };
  std::vector<Frame> stack;
  stack.push_back({MakeLetter('K'), 0, content.size()});
  while (true) {
    Frame& top = stack.back();
    if (top.pos == top.end) {
      CellRef done = std::move(top.list);
      stack.pop_back();
      if (stack.empty()) return done;
      stack.back().list = Cons(std::move(stack.back().list), std::move(done));
      continue;
    }
    size_t p = top.pos;
    if (content[p] == '[' && partner[p] != kNoPartner) {
      top.pos = partner[p] + 1;
      stack.push_back({MakeLetter('K'), p + 1, partner[p]});
    } else {
      top.list = Cons(std::move(top.list), ByteElement(static_cast<unsigned char>(content[p])));
      top.pos = p + 1;
    }
  }
}

// The list form of any data value: a data application d e gives
// (J L(d) L(e)). Shared cells are converted once.
CellRef DataListForm(Cell* data) {
  auto leaf = [](Cell* c) {
    return c->Bytes()[0] == '[' ? TextListForm(BracketedContent(c)) : CellRef::Share(c);
  };
  auto app = [](Cell*, CellRef first, CellRef rest) { return Cons(std::move(first), std::move(rest)); };
  return RebuildBottomUp(data, leaf, app);
}

// first and rest of non-empty data: the parts of a data application, or a
// text without its last element and that element.
void SplitData(Cell* data, CellRef* first, CellRef* rest) {
  if (data->IsApp()) {
    *first = CellRef::Share(data->f);
    *rest = CellRef::Share(data->a);
    return;
  }
  std::string_view content = BracketedContent(data);
  size_t start = LastElementStart(content);
  *first = MakeBracketed(content.substr(0, start));
  *rest = ElementLeaf(content.substr(start));
}

CellRef BitLetter(bool set, char one) { return MakeLetter(set ? one : 'H'); }

// Whether slot i of a vector of n > 0 slots holds a value: "K" or "H", or
// "Z" past either end (a negative index counts from the end).
CellRef SlotFilled(Cell* vec, size_t n, int64_t i) {
  if (i < 0) i += static_cast<int64_t>(n);
  if (i < 0 || static_cast<uint64_t>(i) >= n) return MakeLetter('Z');
  return MakeLetter(VectorSlot(vec, static_cast<size_t>(i)) != nullptr ? 'K' : 'H');
}

}  // namespace

CellRef ApplyVector(Cell* vec, Cell* arg) {
  size_t n = VectorSize(vec);
  if (arg->IsLeaf() && arg->Bytes()[0] == 'Z') {
    CellRef list = MakeLetter('K');
    for (size_t i = n; i-- > 0;) {
      Cell* child = VectorSlot(vec, i);
      list = Cons(child != nullptr ? CellRef::Share(child) : MakeLetter('Z'), std::move(list));
    }
    return list;
  }
  int64_t i;
  if (n > 0 && SmallIntegerValue(arg, &i)) return SlotFilled(vec, n, i);  // the common index
  if (ClassifyValue(arg) != ValueClass::kInteger) return MakeLetter('Z');
  // A list form J K x whose x spells no number is of the integer class but
  // has no value.
  CellRef hold;
  std::string_view text;
  if (arg->IsApp() && !NumberTextOf(arg, &hold, &text)) return MakeLetter('Z');
  if (n > 0) return SlotFilled(vec, n, IntegerToInt64(arg));
  if (arg->IsLeaf()) text = LeafView(arg);
  IntText size = ReadIntText(text);
  if (size.negative || size.magnitude.size() > 8) return MakeLetter('Z');
  uint64_t count = ReadDigits(size.magnitude.data(), size.magnitude.size());
  if (count > kMaxVectorSize || !MemoryRequestFits(8 * count, "a vector")) return MakeLetter('Z');
  return MakeVector(count);
}

CellRef ApplyNumber(Cell* num) {
  CellRef tail;
  bool integer = SplitNumberText(LeafView(num), &tail);
  return Pair(MakeLetter(integer ? 'K' : 'H'), std::move(tail));
}

CellRef ApplyDataValue(Cell* data, Cell* arg) {
  if (IsEmptyText(data)) return MakeApp(CellRef::Share(arg), MakeApp(MakeLetter('X'), MakeLetter('J')), MakeLetter('K'));
  if (arg->IsLeaf() && arg->Bytes()[0] == 'G') {
    CellRef first, rest;
    SplitData(data, &first, &rest);
    return Pair(MakeLetter('H'), Pair(std::move(first), std::move(rest)));
  }
  return MakeApp(CellRef::Share(arg), MakeApp(MakeLetter('X'), MakeLetter('J')), DataListForm(data));
}

CellRef ApplyBlob(Cell* blob) {
  BlobView b = BlobPayload(blob);
  if (b.size == 0) return MakeLetter('Z');
  if (b.size == 1) {
    unsigned char byte = b.data[0];
    CellRef bits[8];
    for (int k = 0; k < 8; ++k) bits[k] = BitLetter(((byte >> k) & 1) != 0, 'I');
    auto cons_pair = [&](int k) { return Cons(std::move(bits[k]), std::move(bits[k + 1])); };
    CellRef low = Cons(cons_pair(0), cons_pair(2));
    CellRef high = Cons(cons_pair(4), cons_pair(6));
    return Pair(std::move(low), std::move(high));
  }
  size_t k = static_cast<size_t>(uint64_t{1} << (63 - __builtin_clzll(b.size - 1)));
  const char* data = reinterpret_cast<const char*>(b.data);
  return Pair(MakeJoinedBlob({data, k}, {}), MakeJoinedBlob({data + (b.size - k), k}, {}));
}

CellRef ApplyRaw(Cell* raw, Cell* arg) {
  uint64_t w;
  std::memcpy(&w, raw->Bytes() + 1, sizeof w);
  std::vector<CellRef> level;
  for (int i = 0; i < 64; ++i) level.push_back(BitLetter(((w >> i) & 1) != 0, 'K'));
  while (level.size() > 1) {
    std::vector<CellRef> up;
    for (size_t i = 0; i < level.size(); i += 2) up.push_back(Pair(std::move(level[i]), std::move(level[i + 1])));
    level = std::move(up);
  }
  return MakeApp(std::move(level[0]), CellRef::Share(arg));
}

}  // namespace mox
