#pragma once

// The walk that the widget tests, the benchmarks and the screenshots share:
// beech, site class 1.5 at 50 years, dominant heights, total volume, the heavy
// standard regime, through the session's handlers in the order a user meets
// them.

#include "app/session/Session.h"

namespace orven::testing {

// Steps 1 to 7: the site page done and the regime chosen.
inline void WalkToTheThinningPage(Session& s) {
  s.rgSpeciesClick(0);
  s.rgSiteQualityClick(2);
  s.rgHeightClick(0);
  s.SiteInputEntered();
  s.SiteEditExit(SiteEdit::SiteClass, "1.5");
  s.rgVolumeClick(0);
  s.rgPresetClick(0);
  s.rgTargetGClick(1);
}

// Steps 8 to 10 with the default age range and no constraints: the final step.
inline void FinishTheWalk(Session& s) {
  s.AgeRangeEntered();
  s.ConstraintEdited();
  s.InitStateEntered();
}

}  // namespace orven::testing
