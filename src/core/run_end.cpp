// The run-end registry; see run_end.h.
#include "core/run_end.h"

#include <cstddef>
#include <vector>

namespace mox {

namespace {
std::vector<RunEndRelease>& Releases() {
  static auto& releases = *new std::vector<RunEndRelease>;  // outlives static destruction
  return releases;
}
}  // namespace

bool AtRunEnd(RunEndRelease release) {
  Releases().push_back(release);
  return true;
}

void EndRun() {
  std::vector<RunEndRelease>& releases = Releases();
  for (std::size_t i = releases.size(); i-- > 0;) releases[i]();
}

}  // namespace mox
