// Taking lists apart from the end.
#include "values/lists.h"

#include <vector>

#include "core/interrupt.h"
#include "core/square_brackets.h"
#include "values/text_elements.h"
#include "values/value_class.h"

namespace mox {

namespace {

bool StartsWith(const Cell* c, char letter) {
  return c->IsLeaf() && c->Bytes()[0] == static_cast<unsigned char>(letter);
}

// (J first rest): *first and *rest borrowed.
bool ReadListCell(Cell* c, Cell** first, Cell** rest) {
  if (!c->IsApp() || !c->f->IsApp() || !StartsWith(c->f->f, 'J')) return false;
  *first = c->f->a;
  *rest = c->a;
  return true;
}

}  // namespace

bool ReadListView(Cell* c, Cell** list) {
  if (!c->IsApp() || !c->f->IsApp() || !StartsWith(c->f->f, 'V')) return false;
  Cell* x = c->f->a;
  if (!x->IsApp() || !StartsWith(x->f, 'X') || !StartsWith(x->a, 'J')) return false;
  *list = c->a;
  return true;
}

CellRef ListLast(Cell* c) {
  if (IsDataValue(c)) {
    if (c->IsApp()) return CellRef::Share(c->a);
    std::string_view content = BracketedContent(c);
    if (content.empty()) return CellRef();
    return ElementLeaf(content.substr(LastElementStart(content)));
  }
  Cell *list, *first, *rest;
  if (!ReadListView(c, &list) || !ReadListCell(list, &first, &rest)) return CellRef();
  return CellRef::Share(rest);
}

CellRef ListInit(Cell* c) {
  if (IsDataValue(c)) {
    if (c->IsApp()) return CellRef::Share(c->f);
    std::string_view content = BracketedContent(c);
    if (content.empty()) return CellRef();
    return MakeBracketed(content.substr(0, LastElementStart(content)));
  }
  Cell *list, *first, *rest;
  if (!ReadListView(c, &list) || !ReadListCell(list, &first, &rest)) return CellRef();
  return MakeApp(CellRef::Share(c->f), CellRef::Share(first));
}

bool WriteOutListForm(Cell* list, std::string* out) {
  out->clear();
  enum class Kind : uint8_t { kList, kElement, kOpen, kClose };
  struct Item {
    Cell* cell;
    Kind kind;
  };
  std::vector<Item> work{{list, Kind::kList}};
  uint64_t items = 0;
  while (!work.empty()) {
    if (InterruptNotedEvery(items) || !RoomToGrow(*out, 3)) return false;  // [q] is the longest byte
    Item it = work.back();
    work.pop_back();
    Cell *first, *rest;
    if (it.kind == Kind::kOpen || it.kind == Kind::kClose) {
      out->push_back(it.kind == Kind::kOpen ? '[' : ']');
    } else if (it.kind == Kind::kElement && it.cell->IsLeaf() && LeafView(it.cell).size() == 1) {
      AppendEscaped(*out, it.cell->Bytes()[0], false);
    } else if (it.kind == Kind::kElement && it.cell->IsApp()) {
      work.push_back({nullptr, Kind::kClose});
      work.push_back({it.cell, Kind::kList});
      work.push_back({nullptr, Kind::kOpen});
    } else if (it.kind == Kind::kList && IsOneByteLeaf(it.cell, 'K')) {
      continue;
    } else if (it.kind == Kind::kList && ReadListCell(it.cell, &first, &rest)) {
      work.push_back({rest, Kind::kElement});
      work.push_back({first, Kind::kList});
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace mox
