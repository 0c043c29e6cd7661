#include "CalibrationCases.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>

#include "model/DataRanges.h"
#include "model/Sentinel.h"
#include "model/YieldTable.h"
#include "projection/ProjectionEngine.h"
#include "projection/ProjectionTables.h"
#include "projection/RegimeControls.h"
#include "projection/StandFormulas.h"
#include "projection/StandSettings.h"
#include "projection/ThinningRegime.h"
#include "projection/ThinningSchedule.h"
#include "site/SitePresets.h"
#include "site/SiteSearch.h"

namespace orven::calibrate {

namespace {

// Item of the "Heavy thinning" standard regime.
constexpr int HeavyThinningItem = 1;

SpeciesBounds MakeBounds(int species) {
  SiteIndexRange si = DataSiteIndexRange(species);
  // Ash has no envelope of its data; 15-32 m covers its classical site classes.
  if (species == Ash) si = {15, 32};
  return {si.lo, si.hi, DataBasalAreaUpper(species),
          static_cast<int>(SiteBuiltInsFor(species).TopSiteClassWithoutWarning),
          PresetTargetBasalAreas(species)[HeavyThinningItem]};
}

// The program's default first age of a table; the site estimation only raises it.
constexpr int DefaultStartAge = 20;

// A table as the program computes it for the case: the standard heavy
// regime and the proportional rule, or no thinning at all.
void Project(ProjectionTables& tables, const ParameterStore& store, const SiteCase& c, bool thinned) {
  tables = ProjectionTables();
  tables.TableStartAge = c.startAge;
  tables.TableEndAge = thinned ? ThinnedEndAge : UnthinnedEndAge;
  std::string thinYears;  // an empty free list: no thinning
  EstablishThinList(tables, thinned ? 1 : VaryingListItem, thinYears);

  RegimeSettings regime;
  regime.TargetGStart = regime.TargetGEnd = BoundsFor(c.species).HeavyTargetG;
  StandSettings stand;
  stand.Store = &store;
  stand.Species = c.species;
  stand.Site.SiteIndex = c.siteIndex;
  stand.Site.SiteClass = c.siteClass;
  tables.ClearComputedValues();
  ProjectTable(tables, regime, stand);
}

}  // namespace

const SpeciesBounds& BoundsFor(int species) {
  static const std::array<SpeciesBounds, SpeciesCount> bounds = [] {
    std::array<SpeciesBounds, SpeciesCount> all;
    for (int species = 0; species < SpeciesCount; ++species) all[species] = MakeBounds(species);
    return all;
  }();
  return bounds[species];
}

namespace {

// The classical stem number falls to nought once its formula leaves the
// stands behind the tables; a thinning of fewer stems than this is no guide.
constexpr double FewestStemsForGrowth = 100;

// The basal area the classical thinnings take in the year from this age.
double ClassicalThinning(int species, int age, double S) {
  const double N = YieldTableStemNumber(species, age, S), nextN = YieldTableStemNumber(species, age + 1, S);
  const double thinnedD = ThinnedDiameterShare * YieldTableDiameter(species, age, S) / 100;
  return std::max(0.0, N - nextN) * std::numbers::pi / 4 * thinnedD * thinnedD;
}

std::vector<ClassicalGrowth> ClassicalGrowthOf(const GrowthModel& model, const SiteCase& c) {
  std::vector<ClassicalGrowth> points;
  const double S = c.siteClass;
  for (int age = std::max(HeightFromAge, c.startAge); age <= HeightToAge; age += 5) {
    const double G = YieldTableBasalArea(c.species, age, S), next = YieldTableBasalArea(c.species, age + 1, S);
    const double N = YieldTableStemNumber(c.species, age, S), nextN = YieldTableStemNumber(c.species, age + 1, S);
    if (!(G > 0 && next > 0 && nextN >= FewestStemsForGrowth && N > nextN)) continue;
    points.push_back({age, G, model.HdomFromHg(c.species, YieldTableHg(c.species, age, S)),
                      next - G + ClassicalThinning(c.species, age, S)});
  }
  return points;
}

InventoryRecords ClassicalInventoriesOf(const GrowthModel& model, const SiteCase& c) {
  InventoryRecords records{};
  const double S = c.siteClass;
  const int first = std::max(HeightFromAge, c.startAge);
  for (int k = 0; k < 3; ++k) {
    InventoryRecord& r = records[k];
    r.Age = first + 5 * k;
    r.Hg = YieldTableHg(c.species, r.Age, S);
    r.Hdom = model.HdomFromHg(c.species, r.Hg);
    r.GAfter = YieldTableBasalArea(c.species, r.Age, S);
    r.GThinned = 0;
    if (k > 0)
      for (int age = r.Age - 5; age < r.Age; ++age) r.GThinned += ClassicalThinning(c.species, age, S);
    r.GBefore = r.GAfter + r.GThinned;
  }
  return records;
}

}  // namespace

SiteCase MakeCase(const GrowthModel& model, int species, int siteClass) {
  SiteCase c{species, siteClass, DefaultStartAge, 0, YieldClassFromSiteClass(species, siteClass), {}};
  const double age2m = YieldTableAgeAtHg(species, 2, siteClass);
  if (age2m > 0) c.startAge = std::max(DefaultStartAge, static_cast<int>(age2m) + 1);
  c.startAge = FirstAgeWithClassicalStand(species, siteClass, c.startAge, ThinnedEndAge - 1);
  const double hdom = model.HdomFromHg(species, YieldTableHg(species, 50, siteClass));
  c.siteIndex = model.DominantHeightAtAge(species, 50, 50, hdom);
  c.classicalGrowth = ClassicalGrowthOf(model, c);
  c.classicalInventories = ClassicalInventoriesOf(model, c);
  return c;
}

std::vector<SiteCase> CasesOf(const GrowthModel& model, int species) {
  std::vector<SiteCase> cases;
  for (int S = 1; S <= BoundsFor(species).TopSiteClass; ++S) cases.push_back(MakeCase(model, species, S));
  return cases;
}

CaseFigures Measure(const ParameterStore& store, const SiteCase& c) {
  static ProjectionTables tables;  // large: one instance, refilled for every table
  CaseFigures f;
  auto value = [&](int variable, int age) { return tables.Value(variable, age - c.startAge); };

  Project(tables, store, c, true);
  f.thinnedComputed = value(HD1, 50) > 0;
  f.hd50 = value(HD1, 50);
  int compared = 0;
  for (int age = std::max(HeightFromAge, c.startAge); age <= HeightToAge; ++age) {
    const double hg = value(Hg1, age), classical = YieldTableHg(c.species, age, c.siteClass);
    if (!(hg > 0)) {
      f.thinnedComputed = false;
      continue;
    }
    const double share = std::fabs(hg - classical) / std::max(HgRelativeTolerance * classical, HgAbsoluteTolerance);
    if (share > f.hgMissShare) f.hgMissShare = share, f.hgMiss = hg - classical, f.hgMissAge = age;
    f.hgMeanSquareShare += share * share;
    ++compared;
  }
  if (compared) f.hgMeanSquareShare /= compared;
  for (int age = c.startAge; age <= ThinnedEndAge; ++age) {
    const double mai = value(mdVdt, age);
    if (!(mai > 0)) f.thinnedComputed = false;
    else if (mai > f.maiMax) f.maiMax = mai, f.maiAge = age;
    if (age < ThinnedEndAge) {
      const double n = value(N3, age), next = value(N1, age + 1);
      if (n > 0 && next > 0) f.mortalityThinned = std::max(f.mortalityThinned, 1 - next / n);
    }
  }
  f.maiAt150 = value(mdVdt, 150);
  f.maiAt130 = value(mdVdt, 130);

  Project(tables, store, c, false);
  f.unthinnedComputed = f.stemNumberNeverRises = true;
  f.rsMin = 1e9;
  for (int age = c.startAge; age <= UnthinnedEndAge; ++age) {
    const double n = value(N1, age), g = value(G1, age);
    if (!(n > 0 && g > 0)) {
      f.unthinnedComputed = false;
      continue;
    }
    if (age > c.startAge && n > value(N1, age - 1)) f.stemNumberNeverRises = false;
    f.gMax = std::max(f.gMax, g);
    f.rsMin = std::min(f.rsMin, RelativeSpacingOf(n, value(Hg1, age)));
  }
  f.nAt200 = value(N1, UnthinnedEndAge);
  return f;
}

bool HeightsHold(const SiteCase& c, const CaseFigures& f) {
  return f.thinnedComputed && std::fabs(f.hd50 - c.siteIndex) <= HeightAt50Tolerance && f.hgMissShare <= 1;
}

bool ProductionHolds(const SiteCase& c, const CaseFigures& f) {
  return f.thinnedComputed && std::fabs(f.maiMax / c.yieldClass - 1) <= ProductionTolerance &&
         (c.siteClass > 3 || f.maiAge < ThinnedEndAge);
}

bool DensityHolds(const SiteCase& c, const CaseFigures& f) {
  return f.unthinnedComputed && f.stemNumberNeverRises && f.gMax < BoundsFor(c.species).GUpper;
}

double ClassicalHdomGrowth(const GrowthModel& model, int species, int siteClass, double hdom) {
  const double age = YieldTableAgeAtHg(species, model.HgFromHdom(species, hdom), siteClass);
  if (!(age >= 1 && age <= ThinnedEndAge)) return 0;
  auto at = [&](double T) { return model.HdomFromHg(species, YieldTableHg(species, T, siteClass)); };
  return at(age + 0.5) - at(age - 0.5);
}

SiteScaleFigures MeasureSiteScale(const GrowthModel& model, int species) {
  const SpeciesBounds& b = BoundsFor(species);
  const SiteBuiltIns& search = SiteBuiltInsFor(species);
  SiteScaleFigures s;
  s.siteIndices.push_back(b.SImin);
  for (double SI = std::floor(b.SImin) + 1; SI < b.SImax; ++SI) s.siteIndices.push_back(SI);
  s.siteIndices.push_back(b.SImax);
  s.holds = true;
  for (double SI : s.siteIndices) {
    const double a0 = A0FromSiteIndex(model, species, SI);
    const double back = SiteIndexFromA0(model, species, a0);
    s.rates.push_back(a0);
    s.roundTrips.push_back(back);
    s.holds = s.holds && a0 >= search.A0SearchMin && a0 <= search.A0SearchMax &&
              std::fabs(back - SI) <= SiteIndexRoundTripTolerance;
  }
  SiteParameters preset;
  PresetUserA0parameter(preset, species);
  s.presetRate = preset.UserA0Parameter;
  s.presetSiteIndex = SiteIndexFromA0(model, species, s.presetRate);
  s.presetExempt = species == Oak;
  if (!s.presetExempt)
    s.holds = s.holds && s.presetSiteIndex >= 0.8 * b.SImin && s.presetSiteIndex <= 1.2 * b.SImax;
  return s;
}

}  // namespace orven::calibrate
