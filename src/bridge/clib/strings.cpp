// The members for strings and memory: the string functions, the number
// conversions, the message texts, and allocation, filling and copying of
// memory.
//
// strtol and strtoul convert as the signed conversion of a host whose long
// has 32 bits: a value beyond -2^31..2^31-1 gives the nearest bound and sets
// errno to ERANGE, as that conversion does. strtol answers the result as a
// number; strtoul the same signed result sign-extended to 64 bits and written
// unsigned ("-1" reads 18446744073709551615). atoi and atol are one handler,
// the same conversion in base 10 without an end pointer.
#include <netdb.h>
#include <strings.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bridge/c_function.h"
#include "bridge/families.h"

namespace mox {

namespace {

int32_t StrToLong32(const char* text, char** end, int base) {
  long v = std::strtol(text, end, base);
  if (v > INT32_MAX || v < INT32_MIN) {
    errno = ERANGE;
    return v > 0 ? INT32_MAX : INT32_MIN;
  }
  return static_cast<int32_t>(v);
}

int32_t Atoi32(const char* text) { return StrToLong32(text, nullptr, 10); }

// The message of a name-resolution error code, in one buffer that each call
// overwrites.
const char* GaiMessage(int code) {
  static char message[1024];
  std::snprintf(message, sizeof message, "%s", gai_strerror(code));
  return message;
}

constexpr BuiltinBinding kStrings[] = {
    // strings
    ReadingCFunction<std::strlen, Number(Address)>("strlen"),
    ReadingCFunction<strnlen, Number(Address, Integer)>("strnlen"),
    CFunction<strdup, Number(Address)>("strdup"),
    ReadingCFunction<std::strcmp, Number(Address, Address)>("strcmp"),
    ReadingCFunction<std::strncmp, Number(Address, Address, Integer)>("strncmp"),
    ReadingCFunction<strcasecmp, Number(Address, Address)>("strcasecmp"),
    ReadingCFunction<strncasecmp, Number(Address, Address, Integer)>("strncasecmp"),
    ReadingCFunction<As<const char*(const char*, int)>(std::strchr), Number(Address, Integer)>("strchr"),
    ReadingCFunction<As<const char*(const char*, int)>(std::strrchr), Number(Address, Integer)>("strrchr"),
    ReadingCFunction<As<const char*(const char*, const char*)>(std::strpbrk), Number(Address, Address)>("strpbrk"),
    ReadingCFunction<As<const char*(const char*, const char*)>(std::strstr), Number(Address, Address)>("strstr"),
    ReadingCFunction<std::strspn, Number(Address, Address)>("strspn"),
    CFunction<std::strcpy, Number(Integer, Address)>("strcpy"),
    CFunction<std::strcat, Number(Integer, Address)>("strcat"),
    CFunction<std::strncat, Number(Integer, Address, Integer)>("strncat"),
    CFunction<std::strncpy, Number(Integer, Integer, Integer)>("strncpy"),
    CFunction<std::strtok, Number(Integer, Address)>("strtok"),
    CFunction<strtok_r, Number(Integer, Address, Integer)>("strtok_r"),
    // numbers in texts
    CFunction<StrToLong32, Number(Address, Integer, Integer)>("strtol"),
    CFunction<StrToLong32, Unsigned(Address, Integer, Integer)>("strtoul"),
    ReadingCFunction<Atoi32, Number(Address)>("atoi"),
    ReadingCFunction<Atoi32, Number(Address)>("atol"),
    ReadingCFunction<std::atof, Real(Address)>("atof"),
    CFunction<std::strtod, Real(Address, Integer)>("strtod"),
    // messages
    CFunction<std::strerror, Number(Integer)>("strerror"),
    CFunction<GaiMessage, Number(Integer)>("gai_strerror"),
    // memory
    CFunction<std::malloc, Number(Integer)>("malloc"),
    CFunction<std::calloc, Number(Integer, Integer)>("calloc"),
    CFunction<std::realloc, Number(Integer, Integer)>("realloc"),
    CFunction<std::free, Unit(RawInteger)>("free"),
    CFunction<std::memset, Number(RawInteger, RawInteger, RawInteger)>("memset"),
    CFunction<bzero, Unit(Integer, Integer)>("bzero"),
    ReadingCFunction<As<const void*(const void*, int, size_t)>(std::memchr),
                     Number(Integer, Integer, Integer)>("memchr"),
    ReadingCFunction<std::memcmp, Number(Integer, Integer, Integer)>("memcmp"),
    CFunction<std::memmove, Number(Integer, Integer, Integer)>("memcpy"),  // one handler: memmove
    CFunction<std::memmove, Number(Integer, Integer, Integer)>("memmove"),
};

}  // namespace

BuiltinFamily StringBuiltins() { return kStrings; }

}  // namespace mox
