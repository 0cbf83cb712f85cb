// The character-class members: isalpha and its kin answer a truth value,
// toascii, tolower and toupper a number.
//
// The C classifiers are defined for EOF and the values of unsigned char only,
// and the host's read a table at the value; glibc's table also covers the
// signed char values. A value outside -128..255 (after narrowing to int, as
// for every integer argument) is no character and answers "H" without a C
// call. tolower and toupper check their range themselves.
#include <cctype>

#include "bridge/c_function.h"
#include "bridge/families.h"

namespace mox {

namespace {

template <int (*Classify)(int)>
bool InClass(int c) {
  return c >= -128 && c <= 255 && Classify(c) != 0;
}

bool IsAscii(uint32_t c) { return c < 128; }

int64_t ToAscii(int64_t c) { return c & 127; }

template <int (*Classify)(int)>
constexpr BuiltinBinding Class(const char* name) {
  return PureCFunction<InClass<Classify>, Truth(Integer)>(name);
}

constexpr BuiltinBinding kCharacterClasses[] = {
    Class<std::isalnum>("isalnum"),
    Class<std::isalpha>("isalpha"),
    Class<std::isblank>("isblank"),
    Class<std::isdigit>("isdigit"),
    Class<std::isgraph>("isgraph"),
    Class<std::islower>("islower"),
    Class<std::isprint>("isprint"),
    Class<std::ispunct>("ispunct"),
    Class<std::isspace>("isspace"),
    Class<std::isupper>("isupper"),
    PureCFunction<IsAscii, Truth(Integer)>("isascii"),
    PureCFunction<ToAscii, Number(Integer)>("toascii"),
    PureCFunction<As<int(int)>(std::tolower), Number(Integer)>("tolower"),
    PureCFunction<As<int(int)>(std::toupper), Number(Integer)>("toupper"),
};

}  // namespace

BuiltinFamily CharacterClassBuiltins() { return kCharacterClasses; }

}  // namespace mox
