#pragma once

// The fits of the coefficient groups, species by species. Each fit is a
// bounded derivative-free NLopt search (BOBYQA) from fixed starting values
// with a fixed evaluation limit, so a rerun gives the same coefficients.

#include <vector>

#include "CalibrationCases.h"
#include "model/ParameterStore.h"

namespace orven::calibrate {

// Group 4: the height-age curve through the classical dominant heights.
void FitHeightAgeCurve(ParameterStore& store, int species);

// What the inventory read-back, production and the cap cost beyond their
// aims, in the misfit the fits minimise; the other weights are fixed by the
// order of the targets.
struct MisfitWeights {
  double production = 3e3, readBack = 600, cap = 1000;
};
constexpr MisfitWeights StandardWeights{};

// One set of weights cannot serve every species, so where the fit kept so
// far misses a target for a stand of site classes 1-3, the species is fitted
// again from the same start with that target weighed more. A refit is kept
// only where it meets the targets better in their order.
struct Refit {
  Target missed;
  MisfitWeights weights;
  const char* why;  // for the report: "Fitted again <why>; ..."
};
inline constexpr Refit Refits[] = {
    {Production, {2 * StandardWeights.production, 2 * StandardWeights.readBack, StandardWeights.cap},
     "with production and the read-back weighed twice, since the first fit left production short for "
     "a stand of site classes 1-3"},
    // Twenty times the cap is enough to move the fit inside the density bands.
    {Cap, {StandardWeights.production, StandardWeights.readBack, 20 * StandardWeights.cap},
     "with the density cap weighed twenty times, since the fit left the unthinned basal area of a stand "
     "of site classes 1-3 above the cap"},
};

// Groups 11, 12 and 13, fitted in turns to the targets measured on the
// species' cases, with the site-index line held inside the growth-rate scale.
void FitGrowth(ParameterStore& store, int species, const std::vector<SiteCase>& cases,
               const MisfitWeights& weights = StandardWeights);

// Groups 1 to 3 from groups 11 to 13: the growth-rate model is the site-index
// model along A0 = P60 + P61 SI.
void TieGrowthRateModel(SpeciesParameters& P);

// Group 7 from the site-index line.
void SetSoilTexture(SpeciesParameters& P, int species);

}  // namespace orven::calibrate
