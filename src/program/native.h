// The contract between the reducer and every native builtin.
//
// The reducer calls a NativeHandler with a fresh output slot and the
// saturated redex `name a1 .. an` (left-nested; the bare name leaf for
// n = 0), which the handler owns. Every argument is already a value with no
// free variables. The handler stores one result in the slot: "Z" means "no
// meaningful result"; an application of an error-tag leaf ("]...") or a
// cycle-marker leaf (")...") ends the whole evaluation.
//
// A builtin can also be called on its arguments alone, without a redex:
// the reducer then need not build the n applications of the redex only to
// free them after the call. Every row made by Builtin has that second
// entry; a builtin that reads the redex itself (a.redex) is made by
// BuiltinOnRedex instead and is always called with one.
//
// Builtins are not written against that raw form. Each is a function
//   CellRef Name(const NativeArgs<n>& a)
// whose parameter type carries its arity n; `Builtin<Name>("name")` makes
// its table row, with the arity read off that type and a handler that
// unpacks the n arguments and answers "Z" for a null result. The arity is
// thus written once, and a handler cannot read an argument it does not have.
//
// A builtin may change bytes of live cells in place (the indexed writes,
// `copy`, every C function that may write at an address), so each call moves
// the write epoch (core/write_epoch.h) before and after it, unless its row
// says otherwise (MemoryUse): the number and comparison builtins, which only
// read their arguments and make new cells, keep the epoch, and with it the
// forms that numbers carry from one operation to the next; so do those that
// only read memory by address (the indexed reads, `puts`, `strlen`), for
// which every deferred text is written first. Moving it is the safe default
// for new ones.
#pragma once

#include <array>
#include <cstdint>

#include "core/cell.h"
#include "core/write_epoch.h"

namespace mox {

using NativeHandler = CellRef& (*)(CellRef& out, CellRef redex);
// The same call on a1 .. an (args[0..n), borrowed; the caller holds them),
// with the builtin's name leaf `head`.
using NativeArgsHandler = CellRef& (*)(CellRef& out, const Cell* head, Cell* const* args);
// A comparison's answer as a bool (true for "K"), for a caller that only
// wants to know which branch it selects: no truth leaf is made.
using NativeTruthHandler = bool (*)(Cell* const* args);

// The arguments a1 .. an of a redex, borrowed: valid while the redex is
// held. a[0] is a1; a_n is the redex's argument part, a_(n-1) that of its
// function part, and so on. Called on the arguments alone, redex is null
// (only rows made by BuiltinOnRedex may read it); head, the builtin's name
// leaf, is there either way.
template <int N>
struct NativeArgs {
  Cell* redex;
  const Cell* head;
  std::array<Cell*, N> cell;

  explicit NativeArgs(Cell* r) : redex(r) {
    Cell* c = r;
    for (int i = N - 1; i >= 0; --i) {
      cell[static_cast<size_t>(i)] = c->a;
      c = c->f;
    }
    head = c;
  }
  NativeArgs(const Cell* h, Cell* const* args) : redex(nullptr), head(h) {
    for (size_t i = 0; i < static_cast<size_t>(N); ++i) cell[i] = args[i];
  }
  Cell* operator[](int i) const {
    MOX_ASSERT(i >= 0 && i < N);
    return cell[static_cast<size_t>(i)];
  }
};

template <int N>
using BuiltinFunction = CellRef (*)(const NativeArgs<N>&);

// One row of the BuiltinTable: the name, its arity and its handler.
struct BuiltinBinding {
  const char* name;
  uint8_t arity;
  NativeHandler handler;
  NativeArgsHandler on_args;  // null: the builtin reads its redex
  bool read_only;  // changes no memory and runs no program code
  NativeTruthHandler on_truth = nullptr;  // a comparison's bool, or null
};

// What a builtin does to memory: nothing but make new cells, read it by
// address, or (possibly) write it.
enum class MemoryUse { kNone, kReads, kWrites };

namespace detail {

template <int N>
constexpr int ArityOf(BuiltinFunction<N>) {
  return N;
}

// Both entries of a row: the write epoch moved around a builtin that may
// write, deferred texts written before one that reads memory, and "Z" for a
// null result.
template <int N, BuiltinFunction<N> F, MemoryUse kUse>
[[gnu::always_inline]] inline CellRef& Answer(CellRef& out, const NativeArgs<N>& a) {
  constexpr bool kReads = kUse == MemoryUse::kReads;
  const bool writes = kUse == MemoryUse::kWrites || (kReads && g_memory_lent);
  if (writes) {
    NoteWrites();
  } else if constexpr (kReads) {
    NoteReads();
  }
  CellRef result = F(a);
  if (writes) NoteWrites();
  out = result ? std::move(result) : MakeLeaf("Z", 1);
  return out;
}

template <int N, BuiltinFunction<N> F, MemoryUse kUse>
CellRef& CallBuiltin(CellRef& out, CellRef redex) {  // redex is held until the call returns
  return Answer<N, F, kUse>(out, NativeArgs<N>(redex.get()));
}

template <int N, BuiltinFunction<N> F, MemoryUse kUse>
CellRef& CallBuiltinOnArgs(CellRef& out, const Cell* head, Cell* const* args) {
  return Answer<N, F, kUse>(out, NativeArgs<N>(head, args));
}

template <int N>
constexpr int ArityOf(bool (*)(const NativeArgs<N>&)) {
  return N;
}

// A comparison's two forms: its answer as a truth leaf, and the bool alone.
template <int N, auto F>
CellRef AsTruthLeaf(const NativeArgs<N>& a) {
  return MakeTruth(F(a));
}
template <int N, auto F>
bool CallTruthOnArgs(Cell* const* args) {
  return F(NativeArgs<N>(nullptr, args));
}

template <auto F, MemoryUse kUse>
constexpr BuiltinBinding Row(const char* name) {
  constexpr int n = ArityOf(F);
  static_assert(n >= 0 && n <= 7, "builtins take at most seven arguments");
  return {name, static_cast<uint8_t>(n), &CallBuiltin<n, F, kUse>, &CallBuiltinOnArgs<n, F, kUse>,
          kUse == MemoryUse::kNone};
}

}  // namespace detail

template <auto F>
constexpr BuiltinBinding Builtin(const char* name) {
  return detail::Row<F, MemoryUse::kWrites>(name);
}

// A builtin that changes no bytes of any existing cell or memory.
template <auto F>
constexpr BuiltinBinding ReadOnlyBuiltin(const char* name) {
  return detail::Row<F, MemoryUse::kNone>(name);
}

// A builtin that reads memory by address and writes none.
template <auto F>
constexpr BuiltinBinding ReadingBuiltin(const char* name) {
  return detail::Row<F, MemoryUse::kReads>(name);
}

// A comparison: a read-only builtin written as
//   bool Name(const NativeArgs<n>& a)
// that answers "K" for true and "H" for false, and can also be asked for
// the bool alone.
template <auto F>
constexpr BuiltinBinding TruthBuiltin(const char* name) {
  constexpr int n = detail::ArityOf(F);
  BuiltinBinding b = detail::Row<&detail::AsTruthLeaf<n, F>, MemoryUse::kNone>(name);
  b.on_truth = &detail::CallTruthOnArgs<n, F>;
  return b;
}

// A builtin that reads a.redex (the cells of its own redex). Neither of
// them (todo, cork) writes a byte that programs read by address or that a
// number's kept forms are derived from (cork changes a vector's slots in
// place, and only when its redex holds the vector alone), so the write
// epoch stays; they still count as changing memory.
template <auto F>
constexpr BuiltinBinding BuiltinOnRedex(const char* name) {
  BuiltinBinding b = detail::Row<F, MemoryUse::kNone>(name);
  b.on_args = nullptr;
  b.read_only = false;
  return b;
}

}  // namespace mox
