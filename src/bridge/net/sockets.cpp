// The members for socket descriptors: making, naming, connecting, listening,
// accepting, options and shutting down, and the host's name. Descriptors,
// socket addresses and lengths are plain integers and addresses; the numbers
// of families, types, levels and options are the host's own, passed through.
// Failures are the host's values (-1, with errno set), answered as numbers.
#include <sys/socket.h>
#include <unistd.h>

#include "bridge/c_function.h"
#include "bridge/families.h"
#include "bridge/platform/host.h"

namespace mox {

namespace {

constexpr BuiltinBinding kSockets[] = {
    CFunction<host::socket, Number(Integer, Integer, Integer)>("socket"),
    CFunction<host::bind, Number(Integer, Integer, Integer)>("bind"),
    CFunction<host::connect, Number(Integer, Integer, Integer)>("connect"),
    CFunction<host::listen, Number(Integer, Integer)>("listen"),
    CFunction<host::accept, Number(Integer, Integer, Integer)>("accept"),
    CFunction<host::getpeername, Number(Integer, Integer, Integer)>("getpeername"),
    CFunction<host::shutdown, Number(Integer, Integer)>("shutdown"),
    CFunction<host::setsockopt, Number(Integer, Integer, Integer, Integer, Integer)>("setsockopt"),
    CFunction<::gethostname, Number(Integer, Integer)>("gethostname"),
};

}  // namespace

BuiltinFamily SocketBuiltins() { return kSockets; }

}  // namespace mox
