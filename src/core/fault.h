// Faults in raw memory access. Builtins that touch memory at an address the
// program chose (`post`, `copy`, `bond`, the `ref` family, the unchecked
// indexed families, every C-library call) hold a RawAccess while they do.
// A SIGSEGV or SIGBUS then ends the run with one line on standard error,
//   mox: memory fault in <builtin> at address 0x<hex>
// (the builtin's name leaf given to RawAccess, the address the one the system
// reports; "at an unknown address" when it reports none, as for an address
// past the 47 bits of a user address), and the exit status kMemoryFaultStatus.
// A fault anywhere else is the interpreter's own and goes to the action that
// was there before (the default one, which dumps core, or a sanitizer's
// report); so does a SIGSEGV or SIGBUS sent by kill or raise, which is no
// memory fault at all.
//
// The handler runs on an alternate stack, so that it runs even when the
// stack itself is what overflowed, and makes only async-signal-safe calls:
// output that the program buffered in C's streams is not flushed.
#pragma once

#include "core/cell.h"

namespace mox {

constexpr int kMemoryFaultStatus = 4;

// Installs the handlers, with an alternate stack for the calling thread
// (the thread that evaluates). Once per process.
void InstallFaultReport();

// Marks a raw access by the builtin named by the leaf `head` for its lifetime.
class RawAccess {
 public:
  explicit RawAccess(const Cell* head);
  ~RawAccess();
  RawAccess(const RawAccess&) = delete;
  RawAccess& operator=(const RawAccess&) = delete;

 private:
  const Cell* outer_;
};

}  // namespace mox
