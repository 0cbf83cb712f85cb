// Bracketed texts and data values as lists, taken apart from the end: a
// bracketed text leaf is its elements written out (text_elements.h), a data
// application d e is the list d followed by the element e.
//
// The list view ((V (X J)) y) is what a data value applied to V becomes: y
// is K for the empty list and (J first rest) otherwise, where first is the
// list form of all but the last element and rest the last element (a
// one-byte element as its shared leaf, a nested group as its list form).
// This system takes the view apart as well: its last element is rest, and
// all but the last element is the view of first, so that repeated `left`s
// keep giving views that `leaf` can test.
#pragma once

#include <cstdint>
#include <string>

#include "core/cell.h"

namespace mox {

// Whether c is the list view ((V (X J)) y); *list is then y (borrowed).
bool ReadListView(Cell* c, Cell** list);

// The last element of a non-empty list (`rght`); null for the empty list
// and for anything that is not a list.
CellRef ListLast(Cell* c);

// The list without its last element (`left`); null as for ListLast.
CellRef ListInit(Cell* c);

// The content a list view's list form stands for, written out: each
// one-byte leaf is that byte ("[" and "]" as [q] and [r], keeping the text
// balanced), each nested list form a group "[" ... "]". An empty nested
// group cannot be told from the letter K in a list form; it reads as K.
// False when y is not a list form, when the memory check refuses the
// content, or when an interrupt came (shared parts can make gigabytes of it).
bool WriteOutListForm(Cell* list, std::string* out);

}  // namespace mox
