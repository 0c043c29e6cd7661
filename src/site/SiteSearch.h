#pragma once

#include <functional>
#include <span>

#include "model/GrowthModel.h"
#include "site/SiteState.h"

namespace orven {

// Built-in per-species values of the site estimation.
struct SiteBuiltIns {
  double A0SearchMin;
  double A0SearchMax;
  double SiteIndexSearchMax;
  double HeightGridTop;      // m, of the grid that compares the two model versions
  double BasalAreaGridTop;   // m2/ha
  double TopSiteClassWithoutWarning;  // classical site classes 1 .. this pass silently
};

// Any code outside 0..6 gets beech's values.
const SiteBuiltIns& SiteBuiltInsFor(int species);

inline constexpr int BracketSearchLimit = 200;
// The step search of the inventory fit has no natural end on flat or
// saturated errors; after this many steps it gives up.
inline constexpr int StepSearchLimit = 1000;

// Every search below minimises a non-negative function and evaluates it
// through CatchFloatFault: a faulted or non-finite evaluation loses every
// comparison instead of poisoning them.

// How differently the two model versions grow in height over the species'
// grid of heights and basal areas. Does not catch its own faults.
double HeightGrowthMismatch(const GrowthModel& model, int species, double A0, double SI);

// Minimises f over [lo, hi]: the best of the grid points (starting from
// best/second), then a shrinking bracket around the better end. The sentinel
// when BracketSearchLimit iterations do not settle it.
double BracketSearch(const std::function<double(double)>& f, std::span<const double> grid,
                     double best, double second, double lo, double hi);

// The growth-rate parameter whose height growth best matches the site index,
// and back; the sentinel for a non-positive argument or no convergence.
double A0FromSiteIndex(const GrowthModel& model, int species, double SI);
double SiteIndexFromA0(const GrowthModel& model, int species, double A0);

// The grid 0.0001, 0.0501, ... up to 1, then a walk from its best point
// whose step shrinks by 2.3 at every turn until it is below 1e-6. The
// sentinel when the walk does not settle within StepSearchLimit steps.
double StepSearch(const std::function<double(double)>& error);

// Least-squares fit of the growth-rate parameter to the intervals between
// the leading records with an age; heights and basal areas weigh equally.
// Needs two such records: with fewer, nothing constrains the fit and the
// result is the sentinel. The result may be negative or above 1.
double EstimateA0FromInventories(const GrowthModel& model, int species,
                                 const InventoryRecords& records);

// P[36] * (1 + coarse sand %)^P[37]; the sentinel on a floating-point fault.
double A0FromSoilTexture(const GrowthModel& model, int species, double coarseSand);

}  // namespace orven
