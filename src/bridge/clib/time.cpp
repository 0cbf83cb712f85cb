// The time members. Times, `tm` records and the texts ctime and asctime make
// are reached by address: time_t is a signed 64-bit count of seconds, as the
// `time_t` record constant says, on every host. A host whose own time_t is
// narrower (WebAssembly's is 32 bits) gets the program's times cut to its
// range for its calls, but the program's records keep all eight bytes.
//
// A program's `tm` record is C's nine int fields (seconds, minutes, hours,
// day of the month, month, years since 1900, day of the week, day of the
// year, daylight saving flag): 36 bytes. This host's record has two fields
// more after them (the zone's offset and name), which mktime writes and
// strftime reads, so the members that take a record give the C function a
// host record of their own: the program's nine fields, the zone fields that
// local time has at that moment, and only the nine fields written back.
// gmtime and localtime answer the host's own record, whose first 36 bytes
// are the program's layout.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ctime>

#include "bridge/c_function.h"
#include "bridge/families.h"

namespace mox {

namespace {

constexpr size_t kProgramTm = 9 * sizeof(int);
static_assert(offsetof(std::tm, tm_isdst) + sizeof(int) == kProgramTm, "the nine int fields lead the host's tm");

// The program's nine fields in a host record, the rest zero.
std::tm NineFields(const void* record) {
  std::tm t{};
  std::memcpy(&t, record, kProgramTm);
  return t;
}

// The same with the zone fields that local time has at that moment.
std::tm HostTm(const void* record) {
  std::tm t = NineFields(record);
  std::tm zoned = t;
  if (std::mktime(&zoned) == -1) return t;
  std::memcpy(&zoned, record, kProgramTm);  // mktime normalised the fields
  return zoned;
}

// The program's time at an address, as the host's time_t.
time_t HostTime(const void* at) {
  int64_t t;
  std::memcpy(&t, at, sizeof t);
  return static_cast<time_t>(t);
}

int64_t Time(void* at) {
  const int64_t now = std::time(nullptr);
  if (at != nullptr) std::memcpy(at, &now, sizeof now);
  return now;
}

// A host call that reads a time by address (ctime, gmtime, localtime),
// given the program's time.
template <auto HostCall>
auto OnProgramTime(const void* at) {
  const time_t t = HostTime(at);
  return HostCall(&t);
}

// The difference of two program times, rounded once.
double TimeDifference(int64_t a, int64_t b) {
  if constexpr (sizeof(time_t) >= sizeof(int64_t)) return std::difftime(a, b);
  // long double holds the exact difference where time_t is narrow (128 bits
  // on WebAssembly).
  return static_cast<double>(static_cast<long double>(a) - static_cast<long double>(b));
}

// mktime finds the zone fields itself.
int64_t MakeTime(void* record) {
  std::tm t = NineFields(record);
  const time_t result = std::mktime(&t);
  std::memcpy(record, &t, kProgramTm);
  return result;
}

char* TimeText(const void* record) {
  std::tm t = HostTm(record);
  return std::asctime(&t);
}

size_t FormatTime(char* buffer, size_t size, const char* format, const void* record) {
  std::tm t = HostTm(record);
  return std::strftime(buffer, size, format, &t);
}

constexpr BuiltinBinding kTime[] = {
    CFunction<Time, Number(Integer)>("time"),
    CFunction<OnProgramTime<std::ctime>, Number(Integer)>("ctime"),
    CFunction<TimeText, Number(Integer)>("asctime"),
    CFunction<OnProgramTime<std::gmtime>, Number(Integer)>("gmtime"),
    CFunction<OnProgramTime<std::localtime>, Number(Integer)>("localtime"),
    CFunction<MakeTime, Number(Integer)>("mktime"),
    CFunction<TimeDifference, Real(Integer, Integer)>("difftime"),
    CFunction<FormatTime, Unsigned(Integer, Integer, Address, Integer)>("strftime"),
};

}  // namespace

BuiltinFamily TimeBuiltins() { return kTime; }

}  // namespace mox
