// The members for the environment and processes: getenv, system, raise,
// exit, abort, assert and errno.
//
// The program runs on a thread of its own; exit and abort end the whole
// process from there. exit ends it at once with _Exit after flushing C's
// streams (what exit itself would write out): the run is in the middle of an
// evaluation whose cells the interpreter's frames still hold, so its tables
// and the process's static objects are left as they are rather than torn
// down under those frames. abort flushes C's streams as well before it
// aborts, so that what the program printed is not lost.
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "bridge/c_function.h"
#include "bridge/families.h"
#include "bridge/platform/host.h"
#include "core/interrupt.h"

namespace mox {

namespace {

[[noreturn]] void ExitNow(int status) {
  std::fflush(nullptr);
  std::_Exit(status);
}

[[noreturn]] void AbortNow() {
  std::fflush(nullptr);
  std::abort();
}

// system() ignores SIGINT in this process while its command runs, so an
// interrupt typed at the terminal reaches only the command. When that ended
// the command, the run takes the interrupt as its own, as it would have
// without the command.
int System(const char* command) {
  int status = host::system(command);
  if (status > 0 && WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) g_interrupted = kInterruptNote;
  return status;
}

// The program's errno (the call sets errno to it first; c_function.h).
int CurrentErrno() { return errno; }

// "K" passes; "H" stops the process with the internal assertion message,
// which names this file and line 244, the assertion line that programs
// check for; any other value is refused.
constexpr int kAssertLine = 244;

CellRef Assert(const NativeArgs<1>& a) {
  if (IsOneByteLeaf(a[0], 'K')) return MakeLeaf("I", 1);
  if (IsOneByteLeaf(a[0], 'H')) AssertionFailed(__FILE__, kAssertLine);
  return CellRef();
}

constexpr BuiltinBinding kProcess[] = {
    ReadingCFunction<std::getenv, Number(Address)>("getenv"),
    CFunction<System, Number(Address)>("system"),
    CFunction<std::raise, Number(Integer)>("raise"),
    CFunction<ExitNow, Unit(Integer)>("exit"),
    CFunction<AbortNow, Unit()>("abort"),
    PureCFunction<CurrentErrno, Number()>("errno"),
    Builtin<Assert>("assert"),
};

}  // namespace

BuiltinFamily ProcessBuiltins() { return kProcess; }

}  // namespace mox
