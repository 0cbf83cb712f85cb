// Output channels: descriptor writes in chunks of at most 4096 bytes. A
// write that fails is an internal assertion; one that a signal cuts short
// goes on with the rest. Every write returns its channel so that writes
// chain: ErrorChannel().Write("a").Write(text).
#pragma once

#include <cstdint>
#include <string_view>

#include "core/text.h"

namespace mox {

struct OutputChannel {
  int fd;
  const OutputChannel& Write(const char* s) const;
  const OutputChannel& Write(const Text& t) const;
  const OutputChannel& Write(std::string_view s) const;
};

const OutputChannel& ErrorChannel();   // descriptor 2
const OutputChannel& ResultChannel();  // descriptor 1

// Counts write calls; tests use it to check the chunking.
uint64_t OutputWriteCalls();

}  // namespace mox
