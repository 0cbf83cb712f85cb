// The catalogue of builtins; see catalogue.h.
#include "driver/catalogue.h"

#include "bridge/families.h"
#include "builtins/families.h"

namespace mox {

std::span<const BuiltinFamily> BuiltinCatalogue() {
  static const BuiltinFamily families[] = {
      // the language
      ArithmeticBuiltins(), ComparisonBuiltins(), CharacterBuiltins(), ListBuiltins(), MeasureBuiltins(),
      ConversionBuiltins(), IndexBuiltins(), TrimBuiltins(), LotsBuiltins(), IdentityBuiltins(),
      RawMemoryBuiltins(), IndexedBuiltins(), LoaderBuiltins(),
      // the C library
      StdioBuiltins(), StringBuiltins(), CharacterClassBuiltins(), MathsBuiltins(), TimeBuiltins(),
      ProcessBuiltins(), DirectoryBuiltins(), ConstantBuiltins(),
      // sockets
      SocketBuiltins(), TransferBuiltins(), NameResolutionBuiltins(), AddressTextBuiltins(), DescriptorSetBuiltins(),
  };
  return families;
}

void InstallBuiltinCatalogue() { UseBuiltinFamilies(BuiltinCatalogue()); }

}  // namespace mox
