// The whole-pipeline fuzz harness: its catalogue and budgets, what keeps a
// random program from touching the host or running for ever.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mox::fuzz {

// Gives the BuiltinTable the harness's catalogue, in which the builtins that
// reach the host (raw memory at any address, and the C bridge's files,
// processes, sockets, memory and clock) answer "Z"; sets the step and
// memory budgets and the memory ceiling. Once per process.
void InstallHarness();

// Runs one program text through definitions, static checks and evaluation
// under the budgets, and formats the Banner of a failed stage. Every table
// is emptied afterwards. Returns the number of reduction steps taken.
uint64_t RunOneProgram(std::string_view text);

}  // namespace mox::fuzz
