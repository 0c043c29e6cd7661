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
#include "projection/StandFormulas.h"
#include "projection/StandSettings.h"
#include "projection/ThinningRegime.h"
#include "projection/ThinningSchedule.h"
#include "site/SitePresets.h"
#include "site/SiteSearch.h"

namespace orven::calibrate {

namespace {

SpeciesBounds MakeBounds(int species) {
  SiteIndexRange si = DataSiteIndexRange(species);
  // Ash has no envelope of its data; 15-32 m covers its classical site classes.
  if (species == Ash) si = {15, 32};
  return {si.lo, si.hi, DataBasalAreaUpper(species),
          static_cast<int>(SiteBuiltInsFor(species).TopSiteClassWithoutWarning)};
}

// The program's default first age of a table; the site estimation only raises it.
constexpr int DefaultStartAge = 20;

enum class Regime { Classical, Unthinned };

// A table as the program computes it for the case, with the proportional
// rule: thinned along a ramp between the classical basal areas, or not at
// all.
void Project(ProjectionTables& tables, const ParameterStore& store, const SiteCase& c, Regime kind) {
  tables = ProjectionTables();
  tables.TableStartAge = c.startAge;
  tables.TableEndAge = kind == Regime::Unthinned ? UnthinnedEndAge : ThinnedEndAge;
  std::string thinYears;  // an empty free list: no thinning
  EstablishThinList(tables, kind == Regime::Unthinned ? VaryingListItem : 1, thinYears);

  RegimeSettings regime;
  regime.ThinStartAge = c.startAge;
  regime.ThinEndAge = ClassicalRegimeEndAge;
  regime.TargetGStart = c.classicalGStart;
  regime.TargetGEnd = c.classicalGEnd;
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
  for (int age = GrowthFromAge; age <= GrowthToAge; age += GrowthStep) {
    if (age < c.startAge) continue;  // no stand in the table yet
    const double G = YieldTableBasalArea(c.species, age, S), next = YieldTableBasalArea(c.species, age + 1, S);
    const double N = YieldTableStemNumber(c.species, age, S), nextN = YieldTableStemNumber(c.species, age + 1, S);
    if (!(G > 0 && next > 0 && N > 0 && nextN > 0)) continue;
    points.push_back({age, G, model.HdomFromHg(c.species, YieldTableHg(c.species, age, S)),
                      next - G + ClassicalThinning(c.species, age, S)});
  }
  return points;
}

InventoryRecords ClassicalInventoriesOf(const GrowthModel& model, const SiteCase& c) {
  InventoryRecords records{};
  const double S = c.siteClass;
  int k = 0;
  for (int age = InventoryFromAge; age <= InventoryToAge; age += InventoryStep) {
    if (age < c.startAge) continue;
    InventoryRecord& r = records[k];
    r.Age = age;
    r.Hg = YieldTableHg(c.species, r.Age, S);
    r.Hdom = model.HdomFromHg(c.species, r.Hg);
    r.GAfter = YieldTableBasalArea(c.species, r.Age, S);
    r.GThinned = 0;
    if (k > 0)
      for (int year = records[k - 1].Age; year < r.Age; ++year) r.GThinned += ClassicalThinning(c.species, year, S);
    r.GBefore = r.GAfter + r.GThinned;
    ++k;
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
  // To 0.1 m2/ha, as a forester types them.
  auto typed = [](double G) { return std::round(10 * G) / 10; };
  c.classicalGStart = typed(YieldTableBasalArea(species, c.startAge, siteClass));
  c.classicalGEnd = typed(YieldTableBasalArea(species, ClassicalRegimeEndAge, siteClass));
  return c;
}

std::vector<SiteCase> CasesOf(const GrowthModel& model, int species) {
  std::vector<SiteCase> cases;
  for (int S = 1; S <= BoundsFor(species).TopSiteClass; ++S) cases.push_back(MakeCase(model, species, S));
  return cases;
}

std::vector<GrowthFigure> MeasureGrowth(const GrowthModel& model, const SiteCase& c, double A0) {
  std::vector<GrowthFigure> figures;
  for (const ClassicalGrowth& p : c.classicalGrowth) {
    GrowthFigure g;
    g.age = p.age, g.G = p.G, g.gross = p.grossGrowth;
    auto si = [&](double G) { return model.BasalAreaIncrementSI(c.species, G, p.Hdom, c.siteIndex); };
    auto a0 = [&](double G) { return model.BasalAreaIncrementA0(c.species, G, p.Hdom, A0); };
    const double atSI = si(p.G), atA0 = A0 > 0 ? a0(p.G) : 0;
    g.ratioSI = atSI / p.grossGrowth;
    g.ratioA0 = atA0 / p.grossGrowth;
    g.densityAge = p.age >= DensityFromAge && p.age <= DensityToAge;
    if (g.densityAge) {
      g.denserSI = si(DenserShare * p.G) / atSI, g.thinnerSI = si(ThinnerShare * p.G) / atSI;
      if (A0 > 0) g.denserA0 = a0(DenserShare * p.G) / atA0, g.thinnerA0 = a0(ThinnerShare * p.G) / atA0;
    }
    figures.push_back(g);
  }
  return figures;
}

UnthinnedBasalArea QuickUnthinnedBasalArea(const GrowthModel& model, const SiteCase& c) {
  UnthinnedBasalArea most;
  double G = YieldTableBasalArea(c.species, c.startAge, c.siteClass);
  double H = model.HdomFromHg(c.species, YieldTableHg(c.species, c.startAge, c.siteClass));
  for (int age = c.startAge + 1; age <= UnthinnedEndAge; ++age) {
    const double dH = model.HdomIncrementSI(c.species, H, G, c.siteIndex);
    const double dG = model.BasalAreaIncrementSI(c.species, G, H, c.siteIndex);
    // A stand that cannot be stepped counts as far above any cap.
    if (!std::isfinite(dH) || !std::isfinite(dG) || dH < 0 || dG < 0) return {1e9, 1e9};
    H += dH, G += dG;
    if (age <= ClassicalRegimeEndAge) most.to120 = std::max(most.to120, G);
    most.to200 = std::max(most.to200, G);
  }
  return most;
}

double ClassFromInventories(const GrowthModel& model, const SiteCase& c) {
  const double A0 = EstimateA0FromInventories(model, c.species, c.classicalInventories);
  if (!(A0 > 0)) return Sentinel;
  const double siteIndex = SiteIndexFromA0(model, c.species, A0);
  if (!(siteIndex > 0)) return Sentinel;
  return SiteClassFromHg(c.species, model.HgFromHdom(c.species, siteIndex), 50);
}

namespace {

// The inventory method's fit error for the site-index model at SI: along
// A0 = P60 + P61 SI the growth-rate model the method uses grows alike.
double InventoryErrorAt(const GrowthModel& model, const SiteCase& c, double SI) {
  const InventoryRecords& records = c.classicalInventories;
  double sum = 0;
  for (int k = 1; k < InventoryRows && records[k].Age > 0; ++k) {
    double H = records[k - 1].Hdom, G = records[k - 1].GAfter;
    for (int year = records[k - 1].Age; year < records[k].Age; ++year) {
      const double dH = model.HdomIncrementSI(c.species, H, G, SI);
      const double dG = model.BasalAreaIncrementSI(c.species, G, H, SI);
      H += dH, G += dG;
    }
    sum += (records[k].Hdom - H) * (records[k].Hdom - H) + (records[k].GBefore - G) * (records[k].GBefore - G);
  }
  return sum;
}

// What the fits weigh in place of the full inventory method, which would
// cost most of their time: the site index at the bottom of the parabola
// through the error at a site index and a metre either side, taken again
// from there (the error is far from a parabola where the bottom lies some
// metres off), read as a class.
double QuickClassFromInventories(const GrowthModel& model, const SiteCase& c) {
  constexpr double step = 1, reach = 4;
  constexpr int rounds = 3;
  double SI = c.siteIndex;
  for (int round = 0; round < rounds; ++round) {
    const double below = InventoryErrorAt(model, c, SI - step);
    const double at = InventoryErrorAt(model, c, SI);
    const double above = InventoryErrorAt(model, c, SI + step);
    const double curvature = below - 2 * at + above;
    if (!std::isfinite(curvature) || !std::isfinite(below) || !std::isfinite(above)) return Sentinel;
    // No bottom between: the error falls all the way to one side.
    const double next = curvature > 0 ? SI - step * (above - below) / (2 * curvature)
                                      : SI + (above < below ? reach : -reach) * step;
    SI = std::clamp(next, SI - reach * step, SI + reach * step);
  }
  return SiteClassFromHg(c.species, model.HgFromHdom(c.species, SI), 50);
}

}  // namespace

CaseFigures Measure(const ParameterStore& store, const SiteCase& c, bool bothVersions) {
  static ProjectionTables tables;  // large: one instance, refilled for every table
  CaseFigures f;
  const GrowthModel model(store);
  f.A0 = bothVersions ? A0FromSiteIndex(model, c.species, c.siteIndex) : 0;
  f.growth = MeasureGrowth(model, c, f.A0);
  f.readBackClass = bothVersions ? ClassFromInventories(model, c) : QuickClassFromInventories(model, c);
  auto value = [&](int variable, int age) { return tables.Value(variable, age - c.startAge); };

  // Heights and production on the stand held at the classical basal areas,
  // where the classical heights were measured.
  Project(tables, store, c, Regime::Classical);
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
  f.classicalComputed = f.thinnedComputed;
  for (int age = c.startAge; age <= ThinnedEndAge; ++age) {
    const double mai = value(mdVdt, age);
    if (!(mai > 0)) f.classicalComputed = false;
    else if (mai > f.maiMax) f.maiMax = mai, f.maiAge = age;
    if (age < ThinnedEndAge) {
      const double n = value(N3, age), next = value(N1, age + 1);
      if (n > 0 && next > 0) f.mortalityThinned = std::max(f.mortalityThinned, 1 - next / n);
    }
  }
  f.maiAt150 = value(mdVdt, 150);
  f.maiAt130 = value(mdVdt, 130);

  Project(tables, store, c, Regime::Unthinned);
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
    if (age <= ClassicalRegimeEndAge) f.gMax120 = std::max(f.gMax120, g);
    f.rsMin = std::min(f.rsMin, RelativeSpacingOf(n, value(Hg1, age)));
  }
  f.nAt200 = value(N1, UnthinnedEndAge);
  return f;
}

namespace {
bool Within(double x, double lo, double hi) { return x >= lo && x <= hi; }
}  // namespace

bool GrowthByAgeHolds(const CaseFigures& f) {
  for (const GrowthFigure& g : f.growth)
    if (!Within(g.ratioSI, GrowthRatioLow, GrowthRatioHigh) || !Within(g.ratioA0, GrowthRatioLow, GrowthRatioHigh))
      return false;
  return !f.growth.empty();
}

bool DensityResponseHolds(const CaseFigures& f) {
  for (const GrowthFigure& g : f.growth)
    if (g.densityAge && !(Within(g.denserSI, DenserLow, DenserHigh) && Within(g.denserA0, DenserLow, DenserHigh) &&
                          Within(g.thinnerSI, ThinnerLow, ThinnerHigh) && Within(g.thinnerA0, ThinnerLow, ThinnerHigh)))
      return false;
  return true;
}

bool ReadBackHolds(const SiteCase& c, const CaseFigures& f) {
  return f.readBackClass > -10 && std::fabs(f.readBackClass - c.siteClass) <= ReadBackTolerance;
}

bool HeightAt50Holds(const SiteCase& c, const CaseFigures& f) {
  return f.thinnedComputed && std::fabs(f.hd50 - c.siteIndex) <= HeightAt50Tolerance;
}

bool MeanHeightHolds(const CaseFigures& f) { return f.thinnedComputed && f.hgMissShare <= 1; }

bool ProductionHolds(const SiteCase& c, const CaseFigures& f) {
  return f.classicalComputed && std::fabs(f.maiMax / c.yieldClass - 1) <= ProductionTolerance;
}

std::array<bool, TargetCount> TargetVerdicts(const SiteCase& c, const CaseFigures& f) {
  return {GrowthByAgeHolds(f), DensityResponseHolds(f), ReadBackHolds(c, f), ProductionHolds(c, f),
          HeightAt50Holds(c, f), MeanHeightHolds(f),   CapHolds(c, f)};
}

namespace {

// Per target: the stands of site classes 1-3 that hold it, and all that do.
struct TargetCounts {
  std::array<int, TargetCount> better{}, all{};
};

TargetCounts CountTargets(const std::vector<SiteCase>& cases, const std::vector<CaseFigures>& figures) {
  TargetCounts counts;
  for (std::size_t k = 0; k < cases.size(); ++k) {
    const std::array<bool, TargetCount> holds = TargetVerdicts(cases[k], figures[k]);
    for (int t = 0; t < TargetCount; ++t) {
      counts.all[t] += holds[t];
      if (cases[k].siteClass <= 3) counts.better[t] += holds[t];
    }
  }
  return counts;
}

}  // namespace

bool TargetHoldsForBetterClasses(const std::vector<SiteCase>& cases, const std::vector<CaseFigures>& figures,
                                 Target target) {
  int better = 0;
  for (const SiteCase& c : cases) better += c.siteClass <= 3;
  return CountTargets(cases, figures).better[target] == better;
}

bool MeetsTargetsBetter(const std::vector<SiteCase>& cases, const std::vector<CaseFigures>& a,
                        const std::vector<CaseFigures>& b) {
  const TargetCounts countsA = CountTargets(cases, a), countsB = CountTargets(cases, b);
  for (int t = 0; t < TargetCount; ++t) {
    if (countsA.better[t] != countsB.better[t]) return countsA.better[t] > countsB.better[t];
    if (countsA.all[t] != countsB.all[t]) return countsA.all[t] > countsB.all[t];
  }
  return false;
}

bool CapHolds(const SiteCase& c, const CaseFigures& f) {
  const double upper = BoundsFor(c.species).GUpper;
  return f.unthinnedComputed && f.stemNumberNeverRises && f.gMax120 < CapShareAt120 * upper &&
         f.gMax < CapShareAt200 * upper;
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
