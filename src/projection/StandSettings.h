#pragma once

#include "model/GrowthModel.h"
#include "model/SiteParameters.h"

namespace orven {

// The site and model settings the projection reads besides its tables and
// the regime: which species, how volume is measured, and the site.
struct StandSettings {
  const ParameterStore* Store = nullptr;
  int Species = 0;           // CurrentSpecies
  int VolumeDefinition = 0;  // 0 total, 1..3 merchantable to 5, 7, 10 cm
  SiteParameters Site;

  GrowthModel Model() const { return GrowthModel(*Store, Site.GrowthCorrection); }
};

}  // namespace orven
