// The bridge's constants: record sizes, rand's bound, the socket constants
// and the error numbers. Each is an arity-0 builtin answering a number.
//
// The error numbers are the host's own (glibc on Linux x86-64), so that they
// agree with what `errno` reports: eacces 13, ebadf 9, econnaborted 103,
// efault 14, eintr 4, einval 22, eio 5, emfile 24, enfile 23, enodev 19,
// enomem 12, enotsock 88, enxio 6, eopnotsupp 95, eoverflow 75 and
// ewouldblock 11 (the same number as EAGAIN there).
#include <cerrno>

#include "bridge/c_function.h"
#include "bridge/families.h"

namespace mox {

namespace {

constexpr BuiltinBinding kConstants[] = {
    Constant<48>("addrinfo"),  // the record size the socket members use
    Constant<296>("dirent"),   // the record readdir fills
    Constant<8>("time_t"),
    Constant<32767>("rand_max"),
    Constant<0>("af_unspec"),
    Constant<1>("ai_passive"),  // one handler for the two
    Constant<1>("sock_stream"),
    Constant<EACCES>("eacces"),
    Constant<EBADF>("ebadf"),
    Constant<ECONNABORTED>("econnaborted"),
    Constant<EFAULT>("efault"),
    Constant<EINTR>("eintr"),
    Constant<EINVAL>("einval"),
    Constant<EIO>("eio"),
    Constant<EMFILE>("emfile"),
    Constant<ENFILE>("enfile"),
    Constant<ENODEV>("enodev"),
    Constant<ENOMEM>("enomem"),
    Constant<ENOTSOCK>("enotsock"),
    Constant<ENXIO>("enxio"),
    Constant<EOPNOTSUPP>("eopnotsupp"),
    Constant<EOVERFLOW>("eoverflow"),
    Constant<EWOULDBLOCK>("ewouldblock"),
};

}  // namespace

BuiltinFamily ConstantBuiltins() { return kConstants; }

}  // namespace mox
