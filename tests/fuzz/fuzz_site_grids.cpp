// Any texts in the inventory, soil and constraint grids, then the site
// estimation, the constraints and a projection, as the handlers run them.

#include <fuzzer/FuzzedDataProvider.h>

#include <map>

#include "FuzzSupport.h"

using namespace orven;


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  fuzz::WalkChoice w;
  w.species = in.ConsumeIntegralInRange(0, SpeciesCount - 1);
  // Inventories, soil texture, or a method whose grids are hidden.
  w.method = in.ConsumeIntegralInRange(0, 4);
  w.firstLastThinning = in.ConsumeBool();
  w.relativeSpacing = w.firstLastThinning && in.ConsumeBool();
  w.dominantHeight = in.ConsumeBool();
  Session s = fuzz::CachedWalkedSession(w);

  SiteInputs& inputs = s.SiteView.Inputs;
  while (in.remaining_bytes() > 0) {
    const int target = in.ConsumeIntegralInRange(0, 2);
    std::string text = in.ConsumeRandomLengthString(16);
    if (target == 0) {
      inputs.sgInventory[in.ConsumeIntegralInRange(0, InventoryRows - 1)][in.ConsumeIntegralInRange(0, 3)] =
          std::move(text);
      s.SiteGridEdited();
    } else if (target == 1) {
      inputs.sgSoil[in.ConsumeIntegralInRange(0, 3)] = std::move(text);
      s.SiteGridEdited();
    } else {
      // Row 1 of the maximum column is not a cell the user can select.
      const int column = in.ConsumeIntegralInRange(1, 2), row = in.ConsumeIntegralInRange(1, 4);
      if (ConstraintCellSelectable(column, row)) s.Regime.sgConstraints[column][row] = std::move(text);
      s.ConstraintEdited();
    }
  }
  s.edtGcorrectionEnter();  // the re-estimation with its messages
  s.LeaveSitePage();
  s.ReadConstraints();
  s.ShowTablesPage();
  fuzz::CheckSession(s);
  return 0;
}
