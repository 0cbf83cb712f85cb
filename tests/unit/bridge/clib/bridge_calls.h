// Helpers for the bridge's family tests: answered addresses as pointers,
// C strings behind answered addresses, fields of records, and a scratch file
// path of the test's own (tests run in parallel processes).
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "support/builtin_calls.h"

namespace mox::builtin_test {

inline int64_t Num(const CellRef& c) { return IntegerToInt64(c.get()); }
template <typename T = char>
T* Ptr(const CellRef& c) {
  return reinterpret_cast<T*>(static_cast<uintptr_t>(Num(c)));
}
// The C string at an answered address ("<null>" for 0).
inline std::string Str(const CellRef& c) {
  const char* s = Ptr(c);
  return s != nullptr ? std::string(s) : "<null>";
}

// The T stored at `offset` bytes into a record.
template <typename T>
T At(const void* record, size_t offset) {
  T v;
  std::memcpy(&v, static_cast<const char*>(record) + offset, sizeof v);
  return v;
}

inline std::string ScratchPath(const std::string& what) {
  return testing::TempDir() + "mox_bridge_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
         what + "_" + std::to_string(getpid());
}

using Bridge = InspectTest;

}  // namespace mox::builtin_test
