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
    Builtin<Pending<1>>("load"),
    Builtin<Pending<2>>("rech"),
    Builtin<Pending<2>>("reci"),
    Builtin<Pending<2>>("recj"),
    Builtin<Pending<2>>("reck"),
    Builtin<Pending<3>>("recl"),
    Builtin<Pending<3>>("recm"),
    Builtin<Pending<3>>("recn"),
    Builtin<Pending<3>>("reco"),
    Builtin<Pending<4>>("recv"),
    Builtin<Pending<6>>("recvfrom"),
    Builtin<Pending<2>>("redh"),
    Builtin<Pending<2>>("redi"),
    Builtin<Pending<2>>("redj"),
    Builtin<Pending<2>>("redk"),
    Builtin<Pending<3>>("redl"),
    Builtin<Pending<3>>("redm"),
    Builtin<Pending<3>>("redn"),
    Builtin<Pending<3>>("redo"),
    Builtin<Pending<1>>("refh"),
    Builtin<Pending<1>>("refi"),
    Builtin<Pending<1>>("refj"),
    Builtin<Pending<1>>("refk"),
    Builtin<Pending<2>>("refl"),
    Builtin<Pending<2>>("refm"),
    Builtin<Pending<2>>("refn"),
    Builtin<Pending<2>>("refo"),
    Builtin<Pending<2>>("relh"),
    Builtin<Pending<2>>("reli"),
    Builtin<Pending<2>>("relj"),
    Builtin<Pending<2>>("relk"),
    Builtin<Pending<3>>("rell"),
    Builtin<Pending<3>>("relm"),
    Builtin<Pending<3>>("reln"),
    Builtin<Pending<3>>("relo"),
    Builtin<Pending<2>>("remh"),
    Builtin<Pending<2>>("remi"),
    Builtin<Pending<2>>("remj"),
    Builtin<Pending<2>>("remk"),
    Builtin<Pending<3>>("reml"),
    Builtin<Pending<3>>("remm"),
    Builtin<Pending<3>>("remn"),
    Builtin<Pending<3>>("remo"),
    Builtin<Pending<1>>("road"),
    Builtin<Pending<4>>("send"),
    Builtin<Pending<6>>("sendto"),
    Builtin<Pending<5>>("setsockopt"),
    Builtin<Pending<2>>("shutdown"),
    Builtin<Pending<3>>("socket"),
};

}  // namespace

BuiltinFamily PendingBuiltins() { return kPending; }

}  // namespace mox
