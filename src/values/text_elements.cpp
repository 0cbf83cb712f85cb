// The element split of bracketed texts, shared one-byte elements, and the
// written-out text of data applications.
#include "values/text_elements.h"

#include <vector>

#include "core/interrupt.h"
#include "core/memory.h"
#include "core/run_end.h"
#include "core/square_brackets.h"

namespace mox {

namespace {

Cell* g_byte_elements[256];

}  // namespace

size_t LastElementStart(std::string_view content) {
  MOX_ASSERT(!content.empty());
  size_t end = content.size() - 1;
  if (content[end] != ']') return end;
  size_t open = OpeningSquare(content, end);
  return open != kNoPartner ? open : end;  // no matching "[": the "]" alone
}

std::string_view BracketedContent(const Cell* leaf) {
  std::string_view text = LeafView(leaf);
  if (text.size() < 2) return {};
  return text.substr(1, text.size() - 2);
}

CellRef MakeBracketed(std::string_view content) { return MakeBracketed(content, {}); }

CellRef MakeBracketed(std::string_view first, std::string_view second) {
  Cell* c = AllocLeaf(first.size() + second.size() + 2);
  unsigned char* p = c->Bytes();
  *p++ = '[';
  if (!first.empty()) std::memcpy(p, first.data(), first.size());
  p += first.size();
  if (!second.empty()) std::memcpy(p, second.data(), second.size());
  p[second.size()] = ']';
  return FinishLeaf(c);
}

namespace {

// A byte whose one-byte leaf would be of a kind of its own: alone, "]" would
// be an error tag and ")" a cycle marker, which the reducer and the run
// driver take for the interpreter's own, "(" and " " would be a blob and a
// real without the bytes their kind needs, a newline an empty vector and a
// NUL the empty leaf. Such a byte's element is its one-character text
// instead, brackets escaped as in `zits`.
bool NeedsTextElement(unsigned char b) {
  return b == ']' || b == kCycleByte || b == kBlobByte || b == kRawByte || b == kVectorByte || b == 0;
}

}  // namespace

CellRef ByteElement(unsigned char b) {
  if (NeedsTextElement(b)) {  // a text can be written in place: each is its own
    return b == ']' ? MakeLeaf("[[r]]") : MakeBracketed(std::string_view(reinterpret_cast<const char*>(&b), 1));
  }
  Cell*& slot = g_byte_elements[b];
  if (slot == nullptr) slot = MakeLeaf(&b, 1).Leak();
  return CellRef::Share(slot);
}

namespace {
const bool kReleased = AtRunEnd([] {
  for (Cell*& slot : g_byte_elements) {
    Release(slot);
    slot = nullptr;
  }
});
}  // namespace

CellRef ElementLeaf(std::string_view element) {
  MOX_ASSERT(!element.empty());
  if (element.size() == 1) return ByteElement(static_cast<unsigned char>(element[0]));
  return MakeLeaf(element);
}

bool DataContentStream::Next(std::string_view* piece) {
  // Shared parts can make a content of gigabytes from a few cells, so a
  // stream may run for long: an interrupt cuts it short, and the evaluation
  // that asked ends at its next step anyway.
  if (InterruptNotedEvery(pieces_)) work_.clear();
  while (!work_.empty()) {
    Item it = work_.back();
    work_.pop_back();
    if (it.bracket == '[') *piece = "[";
    if (it.bracket == ']') *piece = "]";
    if (it.bracket != 0) return true;
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

bool RoomToGrow(const std::string& out, size_t more) {
  const size_t size = out.size() + more;
  return size <= out.capacity() || MemoryRequestFits(2 * uint64_t{size}, "a text");
}

bool WriteOutData(Cell* data, std::string* out) {
  out->clear();
  DataContentStream stream(data);
  std::string_view piece;
  while (stream.Next(&piece)) {
    if (!RoomToGrow(*out, piece.size())) return false;
    out->append(piece);
  }
  return !InterruptNoted();
}

}  // namespace mox
