// The time members. Times, `tm` records and the texts ctime and asctime make
// are reached by address: time_t is a signed 64-bit count of seconds, as the
// `time_t` record constant says.
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

// mktime finds the zone fields itself.
time_t MakeTime(void* record) {
  std::tm t = NineFields(record);
  time_t result = std::mktime(&t);
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
    CFunction<std::time, Number(Integer)>("time"),
    CFunction<std::ctime, Number(Integer)>("ctime"),
    CFunction<TimeText, Number(Integer)>("asctime"),
    CFunction<std::gmtime, Number(Integer)>("gmtime"),
    CFunction<std::localtime, Number(Integer)>("localtime"),
    CFunction<MakeTime, Number(Integer)>("mktime"),
    CFunction<std::difftime, Real(Integer, Integer)>("difftime"),
    CFunction<FormatTime, Unsigned(Integer, Integer, Address, Integer)>("strftime"),
};

}  // namespace

BuiltinFamily TimeBuiltins() { return kTime; }

}  // namespace mox
