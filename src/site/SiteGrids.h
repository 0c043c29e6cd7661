#pragma once

#include <array>
#include <string>
#include <string_view>

#include "messages/InputChecks.h"
#include "messages/Messages.h"
#include "model/GrowthModel.h"
#include "site/SiteState.h"

namespace orven {

// The cell texts of the inventory grid's data rows ([grid row - 1][column]:
// age, height, basal area left, basal area thinned) and of the soil grid's
// data row (clay, silt, fine sand, coarse sand).
using InventoryCells = std::array<std::array<std::string, 4>, InventoryRows>;
using SoilCells = std::array<std::string, 4>;

// A cell of blanks (or other characters up to the space) is empty wherever a
// cell is tested or read.
bool IsBlankCell(std::string_view text);

struct InventoryReading {
  InventoryRecords records{};
  int firstRow = -1;    // index in InventoryCells of the first row with a non-empty cell
  bool ok = false;      // the records hold two or more checked inventories
  bool single = false;  // otherwise, the first row may serve as a single inventory
};

// Reads and checks the inventory grid. The number checks report always, the
// plausibility messages only with showMessages. Empty rows between filled
// ones are skipped, so the records are the filled rows in order. Every value
// typed is range-checked, negative ones too (-1 only marks an empty field).
InventoryReading ReadInventoryData(const InventoryCells& cells, bool heightIsHg,
                                   const GrowthModel& model, int species,
                                   const CheckContext& context, bool showMessages,
                                   MessageList& messages);

struct SoilReading {
  double coarseSand = 0;
  bool ok = false;
};

// Reads the four soil percentages, which must sum to 100 within 0.01; every
// failure reports.
SoilReading ReadSoilTextureData(const SoilCells& cells, const CheckContext& context,
                                MessageList& messages);

}  // namespace orven
