// The memory fault report; see fault.h.
#include "core/fault.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>

namespace mox {

namespace {

// The name leaf of the builtin inside a raw access, or null. A nested
// evaluation (a C callback, say) keeps the outer one to restore.
const Cell* volatile g_raw_head = nullptr;

struct sigaction g_previous_segv;
struct sigaction g_previous_bus;

[[maybe_unused]] constexpr size_t kAlternateStackBytes = size_t{1} << 16;

void Put(char* line, size_t* n, const char* s, size_t max) {
  for (size_t i = 0; i < max && s[i] != 0 && *n < 200; ++i) line[(*n)++] = s[i];
}

[[maybe_unused]] void ReportFault(int signal, siginfo_t* info, void*) {
  const Cell* c = g_raw_head;
  bool sent = info->si_code <= 0;  // by kill or raise (a program's raise(11)), not a fault
  if (c == nullptr || sent) {  // not a program's bad access: the action before ours
    sigaction(signal, signal == SIGBUS ? &g_previous_bus : &g_previous_segv, nullptr);
    // A faulting instruction runs again and meets that action; a sent signal
    // is sent again, and arrives once this handler returns.
    if (sent) raise(signal);
    return;
  }
  char line[256];
  size_t n = 0;
  Put(line, &n, "mox: memory fault in ", 64);
  Put(line, &n, reinterpret_cast<const char*>(c->Bytes()), 64);
  if (info->si_code == SI_KERNEL) {
    // A general protection fault (an address past the 47 bits a user
    // address has, say): the system gives no address, and 0 would mislead.
    Put(line, &n, " at an unknown address", 64);
  } else {
    Put(line, &n, " at address 0x", 64);
    uintptr_t address = reinterpret_cast<uintptr_t>(info->si_addr);
    int shift = 60;
    while (shift > 0 && ((address >> shift) & 15) == 0) shift -= 4;
    for (; shift >= 0; shift -= 4) line[n++] = "0123456789abcdef"[(address >> shift) & 15];
  }
  line[n++] = '\n';
  ssize_t ignored = write(2, line, n);
  (void)ignored;
  // _exit, but through the plain system call: a call of a function marked
  // noreturn from this stack makes AddressSanitizer warn about the stack.
#ifdef SYS_exit_group
  syscall(SYS_exit_group, kMemoryFaultStatus);
#else
  _exit(kMemoryFaultStatus);
#endif
}

}  // namespace

void InstallFaultReport() {
#ifndef __EMSCRIPTEN__  // WebAssembly has no signals: a bad access traps
  // The stack is mapped, not static: a sanitizer runtime unmaps whatever
  // alternate stack a thread has when the thread ends.
  void* stack = mmap(nullptr, kAlternateStackBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (stack != MAP_FAILED) {
    stack_t alternate = {};
    alternate.ss_sp = stack;
    alternate.ss_size = kAlternateStackBytes;
    sigaltstack(&alternate, nullptr);
  }
  struct sigaction report = {};
  report.sa_sigaction = ReportFault;
  report.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&report.sa_mask);
  sigaction(SIGSEGV, &report, &g_previous_segv);
  sigaction(SIGBUS, &report, &g_previous_bus);
#endif
}

RawAccess::RawAccess(const Cell* head) : outer_(g_raw_head) { g_raw_head = head; }
RawAccess::~RawAccess() { g_raw_head = outer_; }

}  // namespace mox
