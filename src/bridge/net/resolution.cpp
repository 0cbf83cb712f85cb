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

#include "bridge/c_function.h"
#include "bridge/families.h"
#include "bridge/net/addrinfo_record.h"
#include "bridge/platform/host.h"

namespace mox {

namespace {

int GetAddrInfo(const char* node, const char* service, const ProgramAddrinfo* hints, ProgramAddrinfo** slot) {
  addrinfo host_hints{};
  if (hints != nullptr) host_hints = HostHints(*hints);
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
  *slot = list;
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
