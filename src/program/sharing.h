// The sharing table: one representative cell for every structurally equal
// family of sub-graphs. The static checks share all definitions through it
// (equal sub-trees of the whole program become one cell), and the builtin
// `tern` uses it at run time so that equal values become the same cell.
//
// The table lives for the whole run and holds one count on each
// representative. An application is entered only with representatives as its
// parts, so two applications are equal exactly when their parts are the same
// cells; leaves are equal when their stored bytes are.
#pragma once

#include <cstddef>
#include <string_view>

#include "core/cell.h"
#include "program/globals.h"

namespace mox {

// The representative of the graph c: the table's cell when an equal one is
// there, otherwise c itself or, when some part had an equal representative,
// a rebuilt copy; every sub-graph met is entered, function part first.
CellRef ShareValue(Cell* c);

// The representative leaf of these bytes, entered when there is none.
CellRef ShareLeafBytes(std::string_view bytes);

// Drops every representative that is not a value, except the parts of the
// values that stay (a lambda's body need not be a value). After the first
// call, a call looks only at the representatives entered since the last
// one, as long as the table has lost none since (and has not doubled):
// what a loaded text costs does not grow with the program.
void KeepOnlySharedValues();

// Drops every representative holding a name leaf whose cached analysis no
// longer matches its definition (loading code at run time gave the name a
// different number of parameters), and every representative built on one,
// so that newly shared code is analysed against the definitions it sees.
// `merged` holds the definitions that a load just made global: only their
// names can have gone stale since the last call. Null: the whole table is
// looked at (a parameterless global's value was stored over the definition
// that a load gave it while it was being evaluated).
void ForgetStaleNames(const GlobalTable* merged);

// Empties the table, releasing its counts.
void ClearSharingTable();
// Gives the empty table room for the static checks to fill it again with
// the program's definitions, which are nearly all the cells there are (a
// big refill is sized at once: see sharing.cpp); `entries` is how many it
// held before it was emptied.
void SizeSharingTableForRefill(size_t entries);

// Gives up one count of `value`, and with it every representative that only
// the table then holds: what a replaced or removed definition leaves behind.
void ReleaseShared(CellRef value);

// Whether c is an application that the table holds as a representative
// (a part of the program's definitions, or of a value `tern` shared).
bool IsSharedApplication(Cell* c);

// Number of representatives (for tests and benchmarks).
size_t SharingTableSize();
// Gives the table room for `entries` entries at once, when it has less: for
// one who can tell how many are coming (a big program's parse, from the
// part of its text parsed so far). The table would grow step by step.
void ReserveSharingTable(size_t entries);

}  // namespace mox
