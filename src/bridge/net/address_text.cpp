// The text forms of network addresses: inet_pton reads a C string at an
// integer address into the binary address at another; inet_ntop writes the
// text of a binary address into a buffer and answers the buffer's address,
// or 0 when the family is unknown (errno EAFNOSUPPORT) or the buffer is too
// short (ENOSPC). inet_pton answers 1, 0 for a text that is no address of
// the family, or -1 for an unknown family.
#include <arpa/inet.h>

#include "bridge/c_function.h"
#include "bridge/families.h"

namespace mox {

namespace {

constexpr BuiltinBinding kAddressText[] = {
    CFunction<::inet_pton, Number(Integer, Integer, Integer)>("inet_pton"),
    CFunction<::inet_ntop, Number(Integer, Integer, Integer, Integer)>("inet_ntop"),
};

}  // namespace

BuiltinFamily AddressTextBuiltins() { return kAddressText; }

}  // namespace mox
