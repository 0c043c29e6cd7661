#pragma once

#include <ostream>
#include <vector>

#include "CalibrationCases.h"
#include "Fits.h"
#include "model/ParameterStore.h"

namespace orven::calibrate {

// What the calibration found for one species, before and after the fit.
struct SpeciesResult {
  int species;
  std::vector<SiteCase> cases;
  std::vector<CaseFigures> before, after;
  SiteScaleFigures scale;
  const Refit* refit = nullptr;  // the refit kept, if any
};

// Writes data/CALIBRATION.md: the targets, every figure, the misses with
// their reasons, and where each coefficient group came from.
void WriteReport(std::ostream& out, const std::vector<SpeciesResult>& results, const ParameterStore& store);

}  // namespace orven::calibrate
