#pragma once

#include <optional>
#include <string>

#include "model/GrowthModel.h"
#include "model/Language.h"
#include "model/SiteParameters.h"
#include "site/SiteState.h"

namespace orven {

// The presets of the site page. Each function that changes an edit's value
// returns the edit's new text, or nothing when the preset does not apply.
// The preset tables treat any species code outside 0..6 as beech.

// UserA0Parameter := the species' preset keyed-in parameter.
void PresetUserA0parameter(SiteParameters& site, int species);

double DefaultYieldClass(int species);

// Unless YieldClassKeyed: YieldClass := the species' default; edtYieldClass's text.
std::optional<std::string> PresetYieldClass(SiteState& state, int species, char decimalSeparator);

// Unless StandHeightKeyed, and while the default site class 2 is in force
// (1.8 < SiteClass < 2.2): StandHeight := the yield-table height at StandAge,
// as dominant height when heightIsHdom, to one decimal; edtStandHeight's text.
std::optional<std::string> PresetStandHeight(SiteState& state, const SiteParameters& site,
                                             const GrowthModel& model, int species,
                                             bool heightIsHdom, char decimalSeparator);

// The note shown (as an error) when the soil method is chosen for a species
// whose growth the soil texture hardly explains; empty for the others.
std::string SoilNote(int species, Language language);

// The information shown on leaving the site page with a keyed-in parameter.
std::string KeyedInParameterNote(Language language);

}  // namespace orven
