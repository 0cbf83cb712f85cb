// Every unit test runs with the interpreter's whole builtin catalogue, as the
// mox binary does.
#include <gtest/gtest.h>

#include "driver/catalogue.h"

namespace {

class CatalogueEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { mox::InstallBuiltinCatalogue(); }
};

[[maybe_unused]] ::testing::Environment* const kCatalogue =
    ::testing::AddGlobalTestEnvironment(new CatalogueEnvironment);

}  // namespace
