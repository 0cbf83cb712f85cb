// The program's argument vector as programs read it: the address of entries
// of 8 bytes each (the address of one argument's NUL-terminated bytes),
// ended by an entry 0. Programs step through it by 8 (refk(a), refk(a+8)).
#pragma once

#include <cstdint>

namespace mox {

// `args` is main()'s vector past the program file. On a host with 8-byte
// pointers that vector is itself the answer. On a host with narrower
// pointers (32-bit WebAssembly) it is copied once into 8-byte entries, kept
// for the rest of the process like main()'s own vector.
int64_t ProgramArgumentAddress(char** args);

}  // namespace mox
