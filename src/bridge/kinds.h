// The kinds of the C-library bridge: how a builtin argument becomes a C
// argument, and how a C result becomes a cell. Every bridge member is a C
// function seen through these kinds (c_function.h binds the two together).
//
// Argument kinds, each a struct with
//   template <typename P> static bool Take(Cell* value, P* out);
// which answers false for a value of the wrong kind (the member then answers
// "Z" without calling C) and otherwise stores the C argument of type P:
//   Integer     a value passing the integer test; its signed 64-bit
//               conversion, narrowed to P (an integral type wraps, a pointer
//               type reads the 64 bits as an address).
//   Address     an integer (as above), a bracketed text leaf (the address of
//               its "[": C sees the brackets as part of the string) or a blob
//               (the address of its first byte after ")"); P is a pointer.
//               A text made of applications has no bytes to point at: "Z".
//   Real        a raw real leaf only, as its double; P is double.
//   RawInteger  any value, converted as an integer without the test (a value
//               that is not one converts as 0); P as for Integer.
//
// Result kinds, each a struct with
//   template <typename R> static CellRef Make(R result);
// (Unit also has Make() for C functions returning void):
//   Number    the result as a signed 64-bit number leaf; pointers by their
//             address, null as "0"; unsigned C types by their bits.
//   Unsigned  the result widened to 64 bits (a signed type sign-extended)
//             and written as an unsigned decimal ("%llu").
//   Real      a raw real leaf of the double.
//   Truth     "K" for a non-zero result, "H" for zero.
//   Unit      "I", whatever C returned.
#pragma once

#include <cstdint>
#include <type_traits>

#include "core/cell.h"
#include "values/int_convert.h"

namespace mox {

// The C argument of an address value: an integer, a text leaf's "[" or a
// blob's first payload byte. False for any other value.
bool AddressOfValue(Cell* value, const void** address);

// The number leaf "%llu" gives for v.
CellRef MakeUnsigned(uint64_t v);

namespace bridge_detail {

template <typename P>
P Narrow(int64_t v) {
  if constexpr (std::is_pointer_v<P>) {
    return reinterpret_cast<P>(static_cast<uintptr_t>(v));
  } else {
    static_assert(std::is_integral_v<P>, "an integer kind meets an integral or pointer C parameter");
    return static_cast<P>(v);
  }
}

// A C result widened to a signed 64-bit word: pointers by their address,
// signed types sign-extended, unsigned types zero-extended.
template <typename R>
int64_t Widen(R r) {
  if constexpr (std::is_pointer_v<R>) {
    return static_cast<int64_t>(reinterpret_cast<uintptr_t>(r));
  } else {
    static_assert(std::is_integral_v<R>, "a number result comes from an integral or pointer C result");
    if constexpr (std::is_signed_v<R>) return static_cast<int64_t>(r);
    else return static_cast<int64_t>(static_cast<uint64_t>(r));
  }
}

}  // namespace bridge_detail

// ---- argument kinds -----------------------------------------------------------

struct Integer {
  template <typename P>
  static bool Take(Cell* value, P* out) {
    if (!PassesIntegerTest(value)) return false;
    *out = bridge_detail::Narrow<P>(IntegerToInt64(value));
    return true;
  }
};

struct RawInteger {
  template <typename P>
  static bool Take(Cell* value, P* out) {
    *out = bridge_detail::Narrow<P>(IntegerToInt64(value));
    return true;
  }
};

struct Address {
  template <typename P>
  static bool Take(Cell* value, P* out) {
    static_assert(std::is_pointer_v<P>, "an address kind meets a pointer C parameter");
    const void* address;
    if (!AddressOfValue(value, &address)) return false;
    // Texts and blobs are passed to C functions that only read them (the
    // members that write take their destination as an integer).
    using Pointee = std::remove_cv_t<std::remove_pointer_t<P>>;
    *out = static_cast<P>(static_cast<Pointee*>(const_cast<void*>(address)));
    return true;
  }
};

// Real is both an argument kind and a result kind.
struct Real {
  static bool Take(Cell* value, double* out);
  static CellRef Make(double result) { return MakeReal(result); }
};

// ---- result kinds -------------------------------------------------------------

struct Number {
  template <typename R>
  static CellRef Make(R result) {
    return MakeInt64(bridge_detail::Widen(result));
  }
};

struct Unsigned {
  template <typename R>
  static CellRef Make(R result) {
    return MakeUnsigned(static_cast<uint64_t>(bridge_detail::Widen(result)));
  }
};

struct Truth {
  template <typename R>
  static CellRef Make(R result) {
    return MakeLeaf(result != 0 ? "K" : "H", 1);
  }
};

struct Unit {
  static CellRef Make() { return MakeLeaf("I", 1); }
  template <typename R>
  static CellRef Make(R) {
    return Make();
  }
};

}  // namespace mox
