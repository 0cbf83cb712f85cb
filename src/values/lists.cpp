// Taking lists apart from the end.
#include "values/lists.h"

#include <vector>

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

bool WriteOutListForm(Cell* list, uint64_t limit, std::string* out) {
  out->clear();
  struct Item {
    Cell* cell;
    char kind;  // 'L' a list form, 'E' an element, else that byte
  };
  std::vector<Item> work{{list, 'L'}};
  while (!work.empty()) {
    Item it = work.back();
    work.pop_back();
    Cell *first, *rest;
    if (it.kind == '[' || it.kind == ']') {
      out->push_back(it.kind);
    } else if (it.kind == 'E' && it.cell->IsLeaf() && LeafView(it.cell).size() == 1) {
      unsigned char b = it.cell->Bytes()[0];
      AppendEscaped(*out, b, false);
    } else if (it.kind == 'E' && it.cell->IsApp()) {
      work.push_back({nullptr, ']'});
      work.push_back({it.cell, 'L'});
      work.push_back({nullptr, '['});
    } else if (it.kind == 'L' && IsLeafText(it.cell, "K")) {
      continue;
    } else if (it.kind == 'L' && ReadListCell(it.cell, &first, &rest)) {
      work.push_back({rest, 'E'});
      work.push_back({first, 'L'});
    } else {
      return false;
    }
    if (out->size() > limit) return false;
  }
  return true;
}

}  // namespace mox
