// The builtin families of the bridge to the host's C library and sockets,
// each a list of BuiltinTable rows made with the signature templates of
// c_function.h. The driver's catalogue hands them to the BuiltinTable.
#pragma once

#include "program/builtin_table.h"

namespace mox {

// clib/: the C library.
BuiltinFamily StdioBuiltins();           // streams and descriptors: fopen fgets puts read write ...
BuiltinFamily StringBuiltins();          // strings and memory: strlen strtol memcpy malloc free ...
BuiltinFamily CharacterClassBuiltins();  // isalpha ... isupper, isascii, toascii tolower toupper
BuiltinFamily MathsBuiltins();           // acos ... pow, abs labs, rand srand, htonl ... ntohs
BuiltinFamily TimeBuiltins();            // time ctime gmtime localtime mktime difftime strftime ...
BuiltinFamily ProcessBuiltins();         // getenv system exit abort raise assert errno
BuiltinFamily DirectoryBuiltins();       // opendir readdir closedir
BuiltinFamily ConstantBuiltins();        // record sizes, rand_max, socket constants, error numbers

}  // namespace mox
