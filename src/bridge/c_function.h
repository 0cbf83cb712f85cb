// The signature templates of the C-library bridge: a C function and a shape
// of kinds (kinds.h) make one BuiltinTable row.
//
//   CFunction<F, Result(Kind1, ..., KindN)>("name")
//
// binds `name` with arity N to a handler that takes argument i by Kind i into
// F's parameter i, answers "Z" without calling F when any argument is of the
// wrong kind, else calls F once and makes the cell of Result from what F
// returned. F is a plain function pointer (C library functions, or small
// functions of the bridge with C parameter types where a member differs from
// its C namesake); its parameter count must be N. For example:
//
//   CFunction<std::strlen, Number(Address)>("strlen")
//   CFunction<std::fseek, Number(Integer, Integer, Integer)>("fseek")
//   CFunction<As<double(double)>(std::acos), Real(Real)>("acos")
//
// As<Sig>(f) picks one function of an overloaded name. Two rows with the same
// F and shape share one handler. Constant<V>("name") is an arity-0 member
// answering the number V. A member that is not one C call (assert) is an
// ordinary Builtin (program/native.h) and can take its arguments with the
// kinds' Take functions.
//
// errno: between two bridge calls the interpreter itself runs C code that may
// change errno (allocation, number conversion). The bridge therefore keeps the
// program's errno apart: each call starts with errno set to ProgramErrno() and
// stores errno there when F returns, so a program's errno changes only
// through the members it calls, as it would in C.
#pragma once

#include <cerrno>
#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

#include "bridge/kinds.h"
#include "core/fault.h"
#include "program/native.h"

namespace mox {

// The errno value the program sees (the `errno` member reads it).
int& ProgramErrno();

template <typename Sig>
constexpr Sig* As(Sig* f) {
  return f;
}

namespace bridge_detail {

// The result and parameter types of a C function, deduced from its pointer
// (declared only; used in decltype). Deduction by a call, rather than a
// specialisation on decltype(F), leaves the C library's function attributes
// behind and takes noexcept functions too.
template <typename R, typename... P>
struct CSignature {
  using Result = R;
  using Params = std::tuple<P...>;
};
template <typename R, typename... P>
CSignature<R, P...> SignatureOf(R (*)(P...));

template <auto F, typename Shape>
struct Bound;

template <auto F, typename ResultKind, typename... Kinds>
struct Bound<F, ResultKind(Kinds...)> {
  static constexpr int kArity = static_cast<int>(sizeof...(Kinds));
  using Signature = decltype(SignatureOf(F));
  using Params = typename Signature::Params;
  using R = typename Signature::Result;
  static_assert(std::tuple_size_v<Params> == sizeof...(Kinds), "one kind for each parameter of the C function");

  static CellRef Handle(const NativeArgs<kArity>& a) { return Invoke(a, std::make_index_sequence<sizeof...(Kinds)>()); }

  template <size_t... I>
  static CellRef Invoke(const NativeArgs<kArity>& a, std::index_sequence<I...>) {
    RawAccess raw(a.head);  // C functions read and write at the program's addresses
    Params values{};
    if (!(Kinds::Take(a[static_cast<int>(I)], &std::get<I>(values)) && ...)) return CellRef();
    errno = ProgramErrno();
    if constexpr (std::is_void_v<R>) {
      std::apply(F, values);
      ProgramErrno() = errno;
      return ResultKind::Make();
    } else {
      R result = std::apply(F, values);
      ProgramErrno() = errno;
      return ResultKind::Make(result);
    }
  }
};

}  // namespace bridge_detail

// A C function's row. It may write at any address it is handed unless it
// is said to read memory only, or to touch no memory of the program at all
// (the mathematical and character functions), which keeps the write epoch.
template <auto F, typename Shape, MemoryUse kUse = MemoryUse::kWrites>
constexpr BuiltinBinding CFunction(const char* name) {
  return detail::Row<&bridge_detail::Bound<F, Shape>::Handle, kUse>(name);
}
template <auto F, typename Shape>
constexpr BuiltinBinding ReadingCFunction(const char* name) {
  return CFunction<F, Shape, MemoryUse::kReads>(name);
}
template <auto F, typename Shape>
constexpr BuiltinBinding PureCFunction(const char* name) {
  return CFunction<F, Shape, MemoryUse::kNone>(name);
}

// A constant: arity 0, the number v whatever happens.
template <int64_t V>
CellRef ConstantNumber(const NativeArgs<0>&) {
  return MakeInt64(V);
}

template <int64_t V>
constexpr BuiltinBinding Constant(const char* name) {
  return ReadOnlyBuiltin<ConstantNumber<V>>(name);
}

}  // namespace mox
