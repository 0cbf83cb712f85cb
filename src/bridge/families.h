// The builtin families of the bridge to the host's C library and sockets,
// each a list of BuiltinTable rows made with the signature templates of
// c_function.h. The driver's catalogue hands them to the BuiltinTable.
#pragma once

#include "program/builtin_table.h"

namespace mox {

// clib/: the C library (closesocket, gai_strerror and the byte-order
// conversions among them).
BuiltinFamily StdioBuiltins();           // streams and descriptors: fopen fgets puts read write ...
BuiltinFamily StringBuiltins();          // strings and memory: strlen strtol memcpy malloc free ...
BuiltinFamily CharacterClassBuiltins();  // isalpha ... isupper, isascii, toascii tolower toupper
BuiltinFamily MathsBuiltins();           // acos ... pow, abs labs, rand srand, htonl ... ntohs
BuiltinFamily TimeBuiltins();            // time ctime gmtime localtime mktime difftime strftime ...
BuiltinFamily ProcessBuiltins();         // getenv system exit abort raise assert errno
BuiltinFamily DirectoryBuiltins();       // opendir readdir closedir
BuiltinFamily ConstantBuiltins();        // record sizes, rand_max, socket constants, error numbers

// net/: sockets and addresses.
BuiltinFamily SocketBuiltins();          // socket bind connect listen accept getpeername shutdown setsockopt gethostname
BuiltinFamily TransferBuiltins();        // send sendto recv recvfrom
BuiltinFamily NameResolutionBuiltins();  // getaddrinfo freeaddrinfo getnameinfo
BuiltinFamily AddressTextBuiltins();     // inet_pton inet_ntop
BuiltinFamily DescriptorSetBuiltins();   // fd_set

}  // namespace mox
