// The builtins whose families are not written yet. Each has its name and
// arity, so that programs are checked and reduced as they will be, and
// answers "Z" for now. A family that is written takes its names out of this
// list (the BuiltinTable refuses a name bound twice).
#include "builtins/families.h"

namespace mox {

namespace {

template <int N>
CellRef Pending(const NativeArgs<N>&) {
  return CellRef();
}

constexpr BuiltinBinding kPending[] = {
    Builtin<Pending<3>>("accept"),
    Builtin<Pending<3>>("bind"),
    Builtin<Pending<3>>("connect"),
    Builtin<Pending<0>>("fd_set"),
    Builtin<Pending<1>>("freeaddrinfo"),
    Builtin<Pending<4>>("getaddrinfo"),
    Builtin<Pending<2>>("gethostname"),
    Builtin<Pending<7>>("getnameinfo"),
    Builtin<Pending<3>>("getpeername"),
    Builtin<Pending<4>>("inet_ntop"),
    Builtin<Pending<3>>("inet_pton"),
    Builtin<Pending<2>>("listen"),
    Builtin<Pending<4>>("recv"),
    Builtin<Pending<6>>("recvfrom"),
    Builtin<Pending<4>>("send"),
    Builtin<Pending<6>>("sendto"),
    Builtin<Pending<5>>("setsockopt"),
    Builtin<Pending<2>>("shutdown"),
    Builtin<Pending<3>>("socket"),
};

}  // namespace

BuiltinFamily PendingBuiltins() { return kPending; }

}  // namespace mox
