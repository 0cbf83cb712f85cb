// Name resolution: getaddrinfo, freeaddrinfo and getnameinfo. getaddrinfo
// and freeaddrinfo take their arguments as raw integers (no integer test: a
// value that is not an integer reads as 0, a null address). The result list
// a program receives has the programs' record layout (addrinfo_record.h);
// freeaddrinfo releases it together with the host's list behind it.
//
// Choices made here:
// - A failed getaddrinfo leaves the slot untouched and answers the host's
//   code (for gai_strerror); running out of memory for the translated list
//   answers EAI_MEMORY.
// - A slot address of 0 has nowhere to receive the list: the call is made
//   and its code answered, and the list is released at once.
// - freeaddrinfo of an address that no getaddrinfo answered (0, a record
//   inside a list, a list already freed) does nothing; it answers "I"
//   whatever it is given.
#include <netdb.h>

#include <cstring>

#include "bridge/c_function.h"
#include "bridge/families.h"
#include "bridge/net/addrinfo_record.h"
#include "bridge/platform/host.h"

namespace mox {

namespace {

// The hints and the slot are read and written by bytes: a program may place
// them at any address.
int GetAddrInfo(const char* node, const char* service, const void* hints, void* slot) {
  addrinfo host_hints{};
  if (hints != nullptr) {
    ProgramAddrinfo program_hints;
    std::memcpy(&program_hints, hints, sizeof program_hints);
    host_hints = HostHints(program_hints);
  }
  addrinfo* host = nullptr;
  int status = host::getaddrinfo(node, service, hints != nullptr ? &host_hints : nullptr, &host);
  if (status != 0) return status;
  ProgramAddrinfo* list = host != nullptr ? AdoptHostList(host) : nullptr;
  if (host != nullptr && list == nullptr) {
    host::freeaddrinfo(host);
    return EAI_MEMORY;
  }
  if (slot == nullptr) {
    ReleaseProgramList(list);
    return status;
  }
  std::memcpy(slot, &list, sizeof list);
  return status;
}

void FreeAddrInfo(const ProgramAddrinfo* list) { ReleaseProgramList(list); }

constexpr BuiltinBinding kResolution[] = {
    CFunction<GetAddrInfo, Number(RawInteger, RawInteger, RawInteger, RawInteger)>("getaddrinfo"),
    CFunction<FreeAddrInfo, Unit(RawInteger)>("freeaddrinfo"),
    CFunction<host::getnameinfo, Number(Integer, Integer, Integer, Integer, Integer, Integer, Integer)>("getnameinfo"),
};

}  // namespace

BuiltinFamily NameResolutionBuiltins() { return kResolution; }

}  // namespace mox
