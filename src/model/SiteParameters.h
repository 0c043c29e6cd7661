#pragma once

#include <string>

namespace orven {

// The site of the table being prepared: which model version projects it and
// with which site parameter. Reset to these values at start and by a new table.
struct SiteParameters {
  bool UseA0Model = false;        // growth-rate model (true) or site-index model
  double A0Parameter = 0.01;      // calculated growth-rate parameter
  double UserA0Parameter = 0.01;  // keyed-in growth-rate parameter
  bool UserA0Fixed = false;       // the keyed-in parameter is used
  double SiteIndex = 15;          // dominant height at 50 years, m
  double SiteClass = 2;           // classical site class, 1 = best
  double GrowthCorrection = 1;    // multiplies every basal-area increment

  // The growth-rate parameter the projection uses.
  double GrowthRateParameter() const { return UserA0Fixed ? UserA0Parameter : A0Parameter; }
};

// The species of the table being prepared and the citation of its classical
// yield table (shown in the site-class and yield-class captions).
struct SpeciesSelection {
  int CurrentSpecies = 0;
  std::string YieldTableReference;

  void SetYieldTableReference();
};

}  // namespace orven
