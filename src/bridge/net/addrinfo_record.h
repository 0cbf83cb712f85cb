// The `addrinfo` record as programs see it, and its translation from the
// host's. Programs walk a result list field by field at fixed offsets
// (48 bytes: ai_flags 4 at 0, ai_family 4 at 4, ai_socktype 4 at 8,
// ai_protocol 4 at 12, ai_addrlen 8 at 16, ai_canonname 8 at 24, ai_addr 8 at
// 32, ai_next 8 at 40); the host's record keeps ai_addr before ai_canonname
// and its length in 4 bytes, so the bridge hands out a copy in this layout
// and keeps the host's list alive beside it until the program frees both.
// The three addresses are held in 64-bit words, so that the layout is the
// same on a host with 4-byte pointers (32-bit WebAssembly).
#pragma once

#include <netdb.h>

#include <cstddef>
#include <cstdint>

namespace mox {

struct ProgramAddrinfo {
  int32_t ai_flags;
  int32_t ai_family;
  int32_t ai_socktype;
  int32_t ai_protocol;
  uint64_t ai_addrlen;
  uint64_t ai_canonname;  // char*
  uint64_t ai_addr;       // sockaddr*
  uint64_t ai_next;       // ProgramAddrinfo*
};

static_assert(sizeof(ProgramAddrinfo) == 48);
static_assert(offsetof(ProgramAddrinfo, ai_addrlen) == 16);
static_assert(offsetof(ProgramAddrinfo, ai_canonname) == 24);
static_assert(offsetof(ProgramAddrinfo, ai_addr) == 32);
static_assert(offsetof(ProgramAddrinfo, ai_next) == 40);

// The host's hints for a program's hints record: its flags, family, socket
// type and protocol; the other fields are zero, as the host asks of hints.
addrinfo HostHints(const ProgramAddrinfo& hints);

// The program's copy of the host's result list `host` (not null), whose
// records point at the host's socket addresses and canonical names. The pair
// is remembered until ReleaseProgramList. Null when memory runs out (`host`
// is then still the caller's).
ProgramAddrinfo* AdoptHostList(addrinfo* host);

// Frees a list that AdoptHostList made, with its host list. False, and
// nothing freed, for any other address (null, a record inside a list, a list
// freed before).
bool ReleaseProgramList(const ProgramAddrinfo* list);

}  // namespace mox
