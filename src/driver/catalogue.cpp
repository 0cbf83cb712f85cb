// The catalogue of builtins; see catalogue.h.
#include "driver/catalogue.h"

#include "builtins/families.h"

namespace mox {

std::span<const BuiltinFamily> BuiltinCatalogue() {
  static const BuiltinFamily families[] = {
      ArithmeticBuiltins(), ComparisonBuiltins(), CharacterBuiltins(), ListBuiltins(),
      MeasureBuiltins(),    ConversionBuiltins(), IndexBuiltins(),     TrimBuiltins(),
      LotsBuiltins(),       IdentityBuiltins(),   RawMemoryBuiltins(), IndexedBuiltins(),
      PendingBuiltins(),
  };
  return families;
}

void InstallBuiltinCatalogue() { UseBuiltinFamilies(BuiltinCatalogue()); }

}  // namespace mox
