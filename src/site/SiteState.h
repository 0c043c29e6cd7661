#pragma once

#include <array>
#include <cstdint>

namespace orven {

// The site values of the table besides SiteParameters. Reset to these values
// at start and by a new table.
struct SiteState {
  double YieldClass = 7;          // classical yield class, m3/ha
  double StandHeight = 8;         // in the height measure chosen on the page
  double StandHdom = 8;           // StandHeight as dominant height
  double StandHg = 7;             // StandHeight as mean height
  std::int32_t StandAge = 20;     // age of StandHeight
  double CoarseSandPercent = 10;  // of the soil, for the soil-texture method
  bool StartAgeKeyed = false;     // the user typed the start age: the estimation leaves it alone
  bool YieldClassKeyed = false;   // the user confirmed a yield class: presets leave it alone
  bool StandHeightKeyed = false;  // the user confirmed a stand height: presets leave it alone
};

// One inventory of the stand as read from the inventory grid; -1 = empty.
struct InventoryRecord {
  std::int32_t Age = -1;
  double Hg = -1;
  double Hdom = -1;
  double GBefore = -1;   // basal area before the thinning at that inventory
  double GThinned = -1;  // basal area removed
  double GAfter = -1;    // basal area left
};

inline constexpr int InventoryRows = 10;
using InventoryRecords = std::array<InventoryRecord, InventoryRows>;

}  // namespace orven
