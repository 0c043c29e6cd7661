#include "site/SiteSearch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "model/FloatFault.h"
#include "model/Sentinel.h"

namespace orven {
namespace {

constexpr std::array<SiteBuiltIns, SpeciesCount> BuiltIns = {{
    {0.006, 0.05, 40, 35, 45, 5},     // beech
    {0.02, 0.14, 32, 30, 35, 4},      // oak
    {0.02, 0.14, 32, 30, 35, 4},      // ash
    {0.001, 0.014, 40, 35, 55, 7},    // Norway spruce
    {0.007, 0.029, 32, 35, 55, 4},    // Sitka spruce
    {0.085, 0.15, 40, 40, 55, 4},     // Douglas fir
    {0.008, 0.045, 40, 35, 55, 3},    // silver fir
}};

constexpr double LosingError = std::numeric_limits<double>::max();

// A faulted evaluation gives the sentinel, which as an error would win.
double Evaluate(const std::function<double(double)>& f, double x) {
  const double value = CatchFloatFault([&] { return f(x); });
  return value >= 0 ? value : LosingError;
}

double InventoryFitError(const GrowthModel& model, int species, const InventoryRecords& records,
                         int n, double x) {
  double sum = 0;
  for (int k = 1; k < n; ++k) {
    double H = records[k - 1].Hdom;
    double G = records[k - 1].GAfter;
    for (int year = records[k - 1].Age; year < records[k].Age; ++year) {
      const double dH = model.HdomIncrementA0(species, H, G, x);
      const double dG = model.BasalAreaIncrementA0(species, G, H, x);
      H += dH;
      G += dG;
    }
    sum += (records[k].Hdom - H) * (records[k].Hdom - H) +
           (records[k].GBefore - G) * (records[k].GBefore - G);
  }
  return sum;
}

}  // namespace

const SiteBuiltIns& SiteBuiltInsFor(int species) {
  return BuiltIns[IsSpeciesCode(species) ? species : Beech];
}

double HeightGrowthMismatch(const GrowthModel& model, int species, double A0, double SI) {
  const SiteBuiltIns& tops = SiteBuiltInsFor(species);
  double sum = 0;
  for (int i = 1; i <= 10; ++i) {
    for (int j = 1; j <= 10; ++j) {
      const double H = i * tops.HeightGridTop / 10, G = j * tops.BasalAreaGridTop / 10;
      const double d = model.HdomIncrementA0(species, H, G, A0) - model.HdomIncrementSI(species, H, G, SI);
      sum += d * d;
    }
  }
  return sum / 100;
}

double BracketSearch(const std::function<double(double)>& f, std::span<const double> grid,
                     double best, double second, double lo, double hi) {
  double fbest = 1e9;
  for (double x : grid) {
    const double fx = Evaluate(f, x);
    if (fx < fbest) {
      second = best;
      best = x;
      fbest = fx;
    }
  }
  double a = best, b = second;
  double fa = Evaluate(f, a), fb = Evaluate(f, b);
  int count = 0;
  double w;
  do {
    w = std::abs(a - b) / 1.61;
    const double m = fa < fb ? a : b;
    a = m - w / 2;
    b = m + w / 2;
    if (a < lo) a = lo;
    if (b > hi) b = hi;
    fa = Evaluate(f, a);
    fb = Evaluate(f, b);
    ++count;
  } while (!(w < 0.000001) && !(std::abs(fa - fb) < 1e-12) && count < BracketSearchLimit);
  if (count >= BracketSearchLimit) return Sentinel;
  return fa < fb ? a : b;
}

double A0FromSiteIndex(const GrowthModel& model, int species, double SI) {
  if (!(SI > 0)) return Sentinel;
  const SiteBuiltIns& range = SiteBuiltInsFor(species);
  std::array<double, 30> grid;
  for (int k = 0; k < 30; ++k) grid[k] = range.A0SearchMin + k * range.A0SearchMax / 29;
  return BracketSearch([&](double x) { return HeightGrowthMismatch(model, species, x, SI); }, grid,
                       0.0001, 0.0002, range.A0SearchMin, range.A0SearchMax);
}

double SiteIndexFromA0(const GrowthModel& model, int species, double A0) {
  if (!(A0 > 0)) return Sentinel;
  // The grid runs to the species' own upper bound: a grid ending at 32 m
  // would leave the bracket unable to climb more than about 0.8 m past it,
  // so a site index of 36 m came back as 32.8 m for species searched to 40 m.
  const double top = std::max(32.0, SiteBuiltInsFor(species).SiteIndexSearchMax);
  std::vector<double> grid;
  for (double x = 2; x <= top; ++x) grid.push_back(x);
  return BracketSearch([&](double x) { return HeightGrowthMismatch(model, species, A0, x); }, grid,
                       1, 2, 1.3, SiteBuiltInsFor(species).SiteIndexSearchMax);
}

double StepSearch(const std::function<double(double)>& error) {
  double best = 0.0001;
  double bestError = LosingError;
  for (double x = 0.0001; x <= 1; x += 0.05) {
    const double e = Evaluate(error, x);
    if (e < bestError) {
      best = x;
      bestError = e;
    }
  }
  double step = 0.05, direction = 1;
  double previousError = bestError;
  double x = best;
  for (int count = 0; step >= 0.000001; ++count) {
    if (count == StepSearchLimit) return Sentinel;
    x += direction * step;
    const double e = Evaluate(error, x);
    if (e < bestError) {
      bestError = e;
      best = x;
    } else if (e > previousError) {
      direction = -direction;
      step /= 2.3;
    }
    previousError = e;
  }
  return best;
}

double EstimateA0FromInventories(const GrowthModel& model, int species,
                                 const InventoryRecords& records) {
  int n = 0;
  while (n < InventoryRows && records[n].Age > 0) ++n;
  if (n < 2) return Sentinel;
  return StepSearch([&](double x) { return InventoryFitError(model, species, records, n, x); });
}

double A0FromSoilTexture(const GrowthModel& model, int species, double coarseSand) {
  if (!IsSpeciesCode(species)) return Sentinel;
  const ParameterStore& store = model.Store();
  return CatchFloatFault(
      [&] { return store.P(species, 36) * std::pow(1 + coarseSand, store.P(species, 37)); });
}

}  // namespace orven
