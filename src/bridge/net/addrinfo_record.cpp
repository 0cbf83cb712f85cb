// The translation of host addrinfo lists into the programs' layout, and the
// table of lists handed out; see addrinfo_record.h.
//
// A list is one block of records, each record's ai_next pointing at the
// next one in the block. The table maps the block to its host list, so that
// freeing an address that no translation gave, or freeing twice, touches
// nothing.
#include "bridge/net/addrinfo_record.h"

#include <cstdlib>
#include <map>

#include "bridge/platform/host.h"

namespace mox {

namespace {

std::map<const ProgramAddrinfo*, addrinfo*>& ListsHandedOut() {
  static std::map<const ProgramAddrinfo*, addrinfo*> lists;
  return lists;
}

uint64_t AddressWord(const void* p) { return reinterpret_cast<uintptr_t>(p); }

}  // namespace

addrinfo HostHints(const ProgramAddrinfo& hints) {
  addrinfo host{};
  host.ai_flags = hints.ai_flags;
  host.ai_family = hints.ai_family;
  host.ai_socktype = hints.ai_socktype;
  host.ai_protocol = hints.ai_protocol;
  return host;
}

ProgramAddrinfo* AdoptHostList(addrinfo* host) {
  size_t n = 0;
  for (const addrinfo* h = host; h != nullptr; h = h->ai_next) ++n;
  auto* records = static_cast<ProgramAddrinfo*>(std::calloc(n, sizeof(ProgramAddrinfo)));
  if (records == nullptr) return nullptr;
  ProgramAddrinfo* r = records;
  for (const addrinfo* h = host; h != nullptr; h = h->ai_next, ++r) {
    r->ai_flags = h->ai_flags;
    r->ai_family = h->ai_family;
    r->ai_socktype = h->ai_socktype;
    r->ai_protocol = h->ai_protocol;
    r->ai_addrlen = h->ai_addrlen;
    r->ai_canonname = AddressWord(h->ai_canonname);
    r->ai_addr = AddressWord(h->ai_addr);
    r->ai_next = h->ai_next != nullptr ? AddressWord(r + 1) : 0;
  }
  ListsHandedOut().emplace(records, host);
  return records;
}

bool ReleaseProgramList(const ProgramAddrinfo* list) {
  auto found = ListsHandedOut().find(list);
  if (found == ListsHandedOut().end()) return false;
  host::freeaddrinfo(found->second);
  std::free(const_cast<ProgramAddrinfo*>(found->first));
  ListsHandedOut().erase(found);
  return true;
}

}  // namespace mox
