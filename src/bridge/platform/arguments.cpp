// The program's argument vector in 8-byte entries; see arguments.h.
#include "bridge/platform/arguments.h"

#include <vector>

namespace mox {

int64_t ProgramArgumentAddress(char** args) {
  if constexpr (sizeof(char*) == sizeof(uint64_t)) {
    return reinterpret_cast<int64_t>(args);
  } else {
    auto* wide = new std::vector<uint64_t>;  // never freed, as main()'s vector is not
    for (char** p = args; *p != nullptr; ++p) wide->push_back(reinterpret_cast<uintptr_t>(*p));
    wide->push_back(0);
    return static_cast<int64_t>(reinterpret_cast<uintptr_t>(wide->data()));
  }
}

}  // namespace mox
