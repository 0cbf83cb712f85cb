// The time members. Times, `tm` records and the texts ctime and asctime make
// are reached by address: time_t is a signed 64-bit count of seconds, as the
// `time_t` record constant says.
#include <ctime>

#include "bridge/c_function.h"
#include "bridge/families.h"

namespace mox {

namespace {

constexpr BuiltinBinding kTime[] = {
    CFunction<std::time, Number(Integer)>("time"),
    CFunction<std::ctime, Number(Integer)>("ctime"),
    CFunction<std::asctime, Number(Integer)>("asctime"),
    CFunction<std::gmtime, Number(Integer)>("gmtime"),
    CFunction<std::localtime, Number(Integer)>("localtime"),
    CFunction<std::mktime, Number(Integer)>("mktime"),
    CFunction<std::difftime, Real(Integer, Integer)>("difftime"),
    CFunction<std::strftime, Unsigned(Integer, Integer, Address, Integer)>("strftime"),
};

}  // namespace

BuiltinFamily TimeBuiltins() { return kTime; }

}  // namespace mox
