// Reading J-lists back into bit patterns and bytes.
#include "builtins/inspect/lists.h"

namespace mox {

namespace {

// c is a list cell (J e t): its element and tail.
bool SplitListCell(Cell* c, Cell** element, Cell** tail) {
  if (!c->IsApp() || !c->f->IsApp() || !IsOneByteLeaf(c->f->f, 'J')) return false;
  *element = c->f->a;
  *tail = c->a;
  return true;
}

}  // namespace

bool ReadBitList(Cell* list, uint64_t* bits) {
  uint64_t v = 0;
  Cell* c = list;
  for (int i = 0; i < 64; ++i) {
    Cell* element;
    if (!SplitListCell(c, &element, &c)) return false;
    int t = TruthValue(element);
    if (t < 0) return false;
    if (t == 1) v |= uint64_t{1} << i;
  }
  if (!IsOneByteLeaf(c, 'K')) return false;
  *bits = v;
  return true;
}

bool ReadByteList(Cell* list, std::string* bytes) {
  bytes->clear();
  Cell* c = list;
  Cell* element;
  while (SplitListCell(c, &element, &c)) {
    unsigned char b;
    if (!ByteArgument(element, &b)) return false;
    bytes->push_back(static_cast<char>(b));
  }
  return IsOneByteLeaf(c, 'K');
}

}  // namespace mox
