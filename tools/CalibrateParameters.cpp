// calibrate-parameters OUTPUT_PARAMETER_FILE OUTPUT_REPORT
//
// Fits the coefficients of ORVEN's parameter data file so that tables the
// program computes with its dynamic growth models agree with the classical
// yield tables built into it, and writes the file (data/OrvenPar-calibrated.drc,
// the candidate to replace the provisional data/OrvenPar.drc) and a report of
// the fit (data/CALIBRATION.md). Every fit is a derivative-free
// NLopt search (BOBYQA) from fixed starting values with a fixed evaluation
// limit, run species by species in a fixed order, so a rerun writes the same
// bytes. CI checks that both committed files are exactly what this writes.
//
// The comparison tables are the ones a forester gets from a settings file
// with the site given as a classical site class S at 50 years (site-index
// model): for every species and every whole site class its classical table
// accepts without warning, a table from the first whole five years past the
// classical mean height of 2 m (at least 20) to 120 years, a thinning every
// 5 years, thinned towards the classical table's basal area (the ramp from
// its value at 30 to its value at 100 years, rounded to 0.1 m2/ha), quotients
// 0.90 -> 1.00, total volume. The targets:
//   1. the site-index range of these classes lies inside the growth-rate
//      search range, and the conversion between A0 and site index is exact;
//   2. the table's mean height Hg1 stays within 1.0 m of the classical
//      table's at every fifth age to 120 years;
//   3. the table's largest mean annual increment of total volume production
//      (mdV/dt, ages to 120) is within 10 % of the classical yield class;
//   4. the remaining stand's diameter D3 at 50 and 100 years is within 10 %
//      of the classical table's.
// tests/reference/check_calibration.py measures targets 2-4 from outside,
// through settings files and orven-table.

#include <nlopt.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "model/GrowthModel.h"
#include "model/ParameterStore.h"
#include "model/Sentinel.h"
#include "model/YieldTable.h"
#include "projection/ProjectionEngine.h"
#include "projection/ProjectionTables.h"
#include "projection/SiteSearch.h"
#include "projection/StandSettings.h"
#include "projection/ThinningRegime.h"
#include "projection/ThinningSchedule.h"
#include "HandChosenCoefficients.h"

namespace {

using namespace orven;

// ---------------------------------------------------------------------------
// Starting values: the hand-chosen coefficients that served before this
// calibration. Groups the calibration does not fit (5, 6) keep them.

using tools::SpeciesCoefficients;
constexpr const auto& Starting = tools::HandChosen;

// Element k of a species' row is item k % 6 + 1 of group k / 6 + 1.
void Load(SpeciesParameters& P, const SpeciesCoefficients& s) {
  auto put = [&](int first, const double* v, int n) {
    for (int i = 0; i < n; ++i) P[first + i] = v[i];
  };
  put(2, s.heightA0, 3);
  put(6, s.basalAreaA0, 6);
  put(12, s.stemNumberA0, 3);
  put(18, s.heightAge, 3);
  put(24, s.hdomFromHg, 2);
  put(30, s.thinning, 2);
  put(36, s.soil, 2);
  put(60, s.heightSI, 5);
  put(66, s.basalAreaSI, 6);
  put(72, s.stemNumberSI, 3);
}

// The records the program reads, group by group, in the order of the data file.
struct GroupLayout {
  int group, firstItem, count;
};
constexpr GroupLayout Layout[] = {{1, 3, 3}, {2, 1, 6}, {3, 1, 3}, {4, 1, 3},  {5, 1, 2},
                                  {6, 1, 2}, {7, 1, 2}, {11, 1, 5}, {12, 1, 6}, {13, 1, 3}};

std::string Encode(const ParameterStore& store) {
  std::string bytes;
  for (const SpeciesCoefficients& s : Starting)
    for (const GroupLayout& g : Layout)
      for (int i = 0; i < g.count; ++i) {
        ParameterRecord record;
        record.Species = s.code;
        record.Group = g.group;
        record.Item = g.firstItem + i;
        record.Value = store.P(s.code, 6 * (g.group - 1) + g.firstItem - 1 + i);
        record.NameDK = s.nameDK;
        record.NameUK = s.nameUK;
        record.ScientificName = s.scientificName;
        bytes += EncodeParameterRecord(record);
      }
  return bytes;
}

// ---------------------------------------------------------------------------
// The comparison tables.

constexpr int EndAge = 120;
constexpr int RampStart = 30, RampEnd = 100;

struct SiteCase {
  int species;
  double S;        // classical site class
  int startAge;    // first age of the table
  double SI;       // site index as the program derives it from (S, 50 years)
  double gStart, gEnd;  // thinning targets, m2/ha
  double yieldClass;
};

double Round1(double x) { return std::round(x * 10) / 10; }

SiteCase MakeCase(const GrowthModel& model, int species, double S) {
  SiteCase c{species, S, 20, 0, 0, 0, 0};
  const double age2m = YieldTableAgeAtHg(species, 2, S);
  if (age2m > 0) c.startAge = std::max(20, 5 * ((static_cast<int>(age2m) + 1 + 4) / 5));
  // A classical basal area that has not yet reached 5 m2/ha is no stand to
  // start from (Sitka spruce's formula is even negative on poor sites).
  while (c.startAge < 50 && YieldTableBasalArea(species, c.startAge, S) < 5) c.startAge += 5;
  // As the site estimation does with a site class at 50 years.
  const double hdom = model.HdomFromHg(species, YieldTableHg(species, 50, S));
  c.SI = model.DominantHeightAtAge(species, 50, 50, hdom);
  c.gStart = Round1(YieldTableBasalArea(species, RampStart, S));
  c.gEnd = Round1(YieldTableBasalArea(species, RampEnd, S));
  c.yieldClass = YieldClassFromSiteClass(species, S);
  return c;
}

std::vector<double> SiteClasses(int species) {
  const SiteBuiltIns& b = SiteBuiltInsFor(species);
  std::vector<double> classes;
  for (int S = 1; S <= static_cast<int>(b.TopSiteClassWithoutWarning); ++S) classes.push_back(S);
  return classes;
}

struct TableFigures {
  bool complete = true;      // every compared cell was computed
  double hgMaxMiss = 0;      // m, signed value of the largest |Hg1 - classical|
  int hgMaxAge = 0;
  double hgRms = 0;
  double maiMax = 0;         // m3/ha/yr
  int maiAge = 0;
  double d50 = 0, d100 = 0;  // D3, cm
  double hgSumSq = 0;
  int hgCount = 0;
};

TableFigures RunTable(const ParameterStore& store, const SiteCase& c) {
  static ProjectionTables tables;  // large: one instance, refilled for every table
  tables = ProjectionTables();
  tables.TableStartAge = c.startAge;
  tables.TableEndAge = EndAge;
  tables.ThinIntervalYears = 5;
  std::string thinYears;
  EstablishThinList(tables, FixedIntervalItem, thinYears);

  RegimeSettings regime;
  regime.ThinStartAge = RampStart;
  regime.ThinEndAge = RampEnd;
  regime.TargetGStart = c.gStart;
  regime.TargetGEnd = c.gEnd;
  regime.QuotientStart = 0.9;
  regime.QuotientEnd = 1.0;

  StandSettings stand;
  stand.Store = &store;
  stand.Species = c.species;
  stand.VolumeDefinition = 0;
  stand.Site.UseA0Model = false;
  stand.Site.SiteIndex = c.SI;
  stand.Site.SiteClass = c.S;
  tables.ClearComputedValues();
  ProjectTable(tables, regime, stand);

  TableFigures f;
  for (int age = c.startAge; age <= EndAge; ++age) {
    const int i = age - c.startAge;
    if (age % 5 == 0 && age > c.startAge) {
      const double hg = tables.Value(Hg1, i);
      if (!(hg > 0)) {
        f.complete = false;
        continue;
      }
      const double miss = hg - YieldTableHg(c.species, age, c.S);
      f.hgSumSq += miss * miss;
      ++f.hgCount;
      if (std::fabs(miss) > std::fabs(f.hgMaxMiss)) f.hgMaxMiss = miss, f.hgMaxAge = age;
    }
    if (age < EndAge) {
      const double mai = tables.Value(mdVdt, i);
      if (!(mai > 0)) f.complete = false;
      else if (mai > f.maiMax) f.maiMax = mai, f.maiAge = age;
    }
  }
  f.hgRms = f.hgCount ? std::sqrt(f.hgSumSq / f.hgCount) : 0;
  f.d50 = tables.Value(D3, 50 - c.startAge);
  f.d100 = tables.Value(D3, 100 - c.startAge);
  if (!(f.d50 > 0) || !(f.d100 > 0)) f.complete = false;
  return f;
}

// ---------------------------------------------------------------------------
// The searches.

struct Search {
  std::function<double(const std::vector<double>&)> objective;
  std::vector<double> x, lower, upper, step;
  int maxEvaluations;
};

double Trampoline(unsigned n, const double* x, double*, void* data) {
  auto* search = static_cast<Search*>(data);
  const double value = search->objective(std::vector<double>(x, x + n));
  return std::isfinite(value) ? value : 1e30;
}

double Minimise(Search& s) {
  const unsigned n = static_cast<unsigned>(s.x.size());
  nlopt_opt opt = nlopt_create(NLOPT_LN_BOBYQA, n);
  nlopt_set_lower_bounds(opt, s.lower.data());
  nlopt_set_upper_bounds(opt, s.upper.data());
  nlopt_set_initial_step(opt, s.step.data());
  nlopt_set_min_objective(opt, Trampoline, &s);
  nlopt_set_maxeval(opt, s.maxEvaluations);
  nlopt_set_xtol_rel(opt, 1e-7);
  for (unsigned i = 0; i < n; ++i) s.x[i] = std::clamp(s.x[i], s.lower[i], s.upper[i]);
  double best = 0;
  nlopt_optimize(opt, s.x.data(), &best);
  nlopt_destroy(opt);
  return best;
}

// Group 4: the height-age curve through the classical dominant heights,
// every half site class over the accepted range, ages 10-120.
void FitHeightAgeCurve(ParameterStore& store, int sp) {
  GrowthModel model(store);
  SpeciesParameters& P = store.ModelParameters[sp];
  const SiteClassRange limits = SiteClassLimits(sp);
  const double top = SiteBuiltInsFor(sp).TopSiteClassWithoutWarning;
  struct Point { double T, H, H50; };
  std::vector<Point> points;
  for (double S = limits.lo; S <= top + 1e-9; S += 0.5)
    for (int T = 10; T <= EndAge; T += 5) {
      const double hg = YieldTableHg(sp, T, S);
      if (hg < 1.3) continue;
      points.push_back({double(T), model.HdomFromHg(sp, hg), model.HdomFromHg(sp, YieldTableHg(sp, 50, S))});
    }
  Search s;
  s.x = {P[18], std::log(std::max(P[19], 1.0)), P[20]};
  s.lower = {0.8, 0.0, 10.0};
  s.upper = {3.0, 13.0, 80.0};
  s.step = {0.1, 1.0, 2.0};
  s.maxEvaluations = 2000;
  s.objective = [&](const std::vector<double>& x) {
    P[18] = x[0], P[19] = std::exp(x[1]), P[20] = x[2];
    double sum = 0;
    for (const Point& p : points) {
      const double h = model.DominantHeightAtAge(sp, p.T, 50, p.H50);
      sum += h > 0 ? (h - p.H) * (h - p.H) : 1e4;
    }
    return sum;
  };
  Minimise(s);
  s.objective(s.x);
}

// The site-index range of the classes, and the rate line through it.
struct RateLine {
  double siLo, siHi;  // site index of the poorest and of the best class
  double a0Min, a0Max;
};

RateLine RateLineOf(int sp, const std::vector<SiteCase>& cases) {
  RateLine r{1e9, -1e9, SiteBuiltInsFor(sp).A0SearchMin, SiteBuiltInsFor(sp).A0SearchMax};
  for (const SiteCase& c : cases) r.siLo = std::min(r.siLo, c.SI), r.siHi = std::max(r.siHi, c.SI);
  return r;
}

// The share of the A0 search range at which a site index's rate lies.
double ShareOf(const RateLine& r, const SpeciesParameters& P, double SI) {
  return (P[60] + P[61] * SI - r.a0Min) / (r.a0Max - r.a0Min);
}

void SetRateLine(const RateLine& r, SpeciesParameters& P, double shareLo, double shareHi) {
  const double lo = r.a0Min + shareLo * (r.a0Max - r.a0Min);
  const double hi = r.a0Min + shareHi * (r.a0Max - r.a0Min);
  P[61] = (hi - lo) / (r.siHi - r.siLo);
  P[60] = lo - P[61] * r.siLo;
}

// The growth-rate model follows the site-index model: the same height and
// stem-number shape, and rates that agree along A0 = P60 + P61 SI.
void TieGrowthRateModel(SpeciesParameters& P) {
  for (int i = 0; i < 3; ++i) P[2 + i] = P[62 + i];
  P[7] = P[67] / P[61];
  P[6] = P[66] - P[7] * P[60];
  for (int i = 0; i < 4; ++i) P[8 + i] = P[68 + i];
  for (int i = 0; i < 3; ++i) P[12 + i] = P[72 + i];
}

double TableMisfit(const ParameterStore& store, const std::vector<SiteCase>& cases,
                   double heightWeight, double productionWeight, double diameterWeight) {
  double sum = 0;
  for (const SiteCase& c : cases) {
    const TableFigures f = RunTable(store, c);
    if (!f.complete) sum += 1e3;
    sum += heightWeight * f.hgSumSq;
    const double mai = f.maiMax / c.yieldClass - 1;
    sum += productionWeight * mai * mai;
    const double d50 = f.d50 / YieldTableDiameter(c.species, 50, c.S) - 1;
    const double d100 = f.d100 / YieldTableDiameter(c.species, 100, c.S) - 1;
    sum += diameterWeight * (d50 * d50 + d100 * d100);
  }
  return sum;
}

// Group 11: the site-index model's height increment. The rate is placed by
// its share of the A0 search range at the poorest and the best class, so the
// whole range of the classes stays inside the search range.
void FitHeightGrowth(ParameterStore& store, int sp, const std::vector<SiteCase>& cases) {
  SpeciesParameters& P = store.ModelParameters[sp];
  const RateLine r = RateLineOf(sp, cases);
  Search s;
  s.x = {ShareOf(r, P, r.siLo), ShareOf(r, P, r.siHi), P[62], P[63]};
  s.lower = {0.02, 0.05, 0.2, -0.6};
  s.upper = {0.95, 0.98, 5.0, 0.0};
  s.step = {0.05, 0.05, 0.1, 0.02};
  s.maxEvaluations = 600;
  s.objective = [&](const std::vector<double>& x) {
    if (x[1] <= x[0]) return 1e6 * (1 + x[0] - x[1]);
    SetRateLine(r, P, x[0], x[1]);
    P[62] = x[2], P[63] = x[3];
    return TableMisfit(store, cases, 1, 0, 0);
  };
  Minimise(s);
  s.objective(s.x);
}

// Group 12: the basal-area increment, aimed at the yield class. The site
// enters as the rate at the poorest and at the best class.
void FitBasalAreaGrowth(ParameterStore& store, int sp, const std::vector<SiteCase>& cases) {
  SpeciesParameters& P = store.ModelParameters[sp];
  const RateLine r = RateLineOf(sp, cases);
  const double lo = P[66] + P[67] * r.siLo, hi = P[66] + P[67] * r.siHi;
  Search s;
  s.x = {std::log(std::max(lo, 1e-3)), std::log(std::max(hi, 1e-3)), P[69], P[70]};
  s.lower = {std::log(1e-3), std::log(1e-3), -0.15, -0.15};
  s.upper = {std::log(50.0), std::log(50.0), 0.0, 0.0};
  s.step = {0.1, 0.1, 0.005, 0.005};
  s.maxEvaluations = 400;
  s.objective = [&](const std::vector<double>& x) {
    const double a = std::exp(x[0]), b = std::exp(x[1]);
    P[67] = (b - a) / (r.siHi - r.siLo);
    P[66] = a - P[67] * r.siLo;
    P[69] = x[2], P[70] = x[3];
    return TableMisfit(store, cases, 0, 100, 5);
  };
  Minimise(s);
  s.objective(s.x);
}

// Group 13: the self-thinning rule, aimed at the classical diameters.
void FitStemNumberChange(ParameterStore& store, int sp, const std::vector<SiteCase>& cases) {
  SpeciesParameters& P = store.ModelParameters[sp];
  Search s;
  s.x = {std::log(P[72]), P[74]};
  s.lower = {std::log(1e-6), -0.01};
  s.upper = {std::log(1e-1), 0.02};
  s.step = {0.3, 0.001};
  s.maxEvaluations = 150;
  s.objective = [&](const std::vector<double>& x) {
    P[72] = std::exp(x[0]), P[74] = x[1];
    return TableMisfit(store, cases, 0, 100, 5);
  };
  Minimise(s);
  s.objective(s.x);
}

// Group 7: the soil texture keeps the site indices the starting coefficients
// gave at 0 and 60 % coarse sand, mapped through the new rate line.
void FitSoil(SpeciesParameters& P, const SpeciesParameters& start) {
  const double si0 = (start[36] - start[60]) / start[61];
  const double si60 = (start[36] * std::pow(61.0, start[37]) - start[60]) / start[61];
  const double a0 = P[60] + P[61] * si0, a60 = P[60] + P[61] * si60;
  P[36] = a0;
  P[37] = std::log(a60 / a0) / std::log(61.0);
}

// ---------------------------------------------------------------------------
// The report.

std::string Fixed(double x, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, x);
  std::string text = buffer;
  return text == "-" + std::string(text.size() - 1, '0') ? text.substr(1) : text;
}

std::string Signed(double x, int decimals) { return (x >= 0 ? "+" : "") + Fixed(x, decimals); }

struct SpeciesReport {
  std::vector<SiteCase> cases;
  std::vector<TableFigures> before, after;
  double a0Lo, a0Hi;          // rates of the poorest and the best class
  double roundTrip;           // largest |SiteIndexFromA0(A0FromSiteIndex(SI)) - SI|
  double a0Miss;              // largest |A0FromSiteIndex(SI) - (P60 + P61 SI)|
};

struct Tally {
  int held = 0, total = 0;
  std::string Mark(bool ok) {
    ++total;
    held += ok;
    return ok ? "yes" : "**no**";
  }
};

constexpr double HeightTolerance = 1.0, ProductionTolerance = 0.10, DiameterTolerance = 0.10;

void Report(std::ostream& out, const std::vector<SpeciesReport>& reports, const ParameterStore& store) {
  out << "# Calibration of the parameter data file\n\n"
         "`data/OrvenPar-calibrated.drc` is written by\n"
         "`tools/CalibrateParameters.cpp` (`calibrate-parameters`), and so is this\n"
         "report; CI runs the tool and checks that both files are exactly what it\n"
         "writes. Do not edit either by hand. The program still reads the\n"
         "provisional `data/OrvenPar.drc` until the calibrated file passes every\n"
         "test in its place.\n\n"
         "## What is compared\n\n"
         "For every species and every whole site class that its classical yield\n"
         "table accepts without warning, the table a forester gets from a settings\n"
         "file with the site given as that class at 50 years (so the site-index\n"
         "model projects it): total volume; from the first whole five years past\n"
         "the classical mean height of 2 m (at least 20 years) to 120 years; a\n"
         "thinning every 5 years towards the classical table's basal area (the\n"
         "ramp from its value at 30 years to its value at 100, rounded to\n"
         "0.1 m2/ha); thinning quotients 0.90 -> 1.00. The first year's state is\n"
         "the classical table's, as always.\n\n"
         "| target | holds when |\n|---|---|\n"
         "| 1 | the site indices of the classes map into the growth-rate search range, and `A0FromSiteIndex` returns exactly P60 + P61 SI |\n"
         "| 2 | Hg1 lies within 1.0 m of the classical mean height at every fifth age to 120 years |\n"
         "| 3 | the largest mean annual volume increment mdV/dt (ages to 119) lies within 10 % of the classical yield class |\n"
         "| 4 | D3 at 50 and at 100 years lies within 10 % of the classical diameter |\n\n"
         "`tests/reference/check_calibration.py` measures targets 2-4 from outside:\n"
         "it writes the settings files itself, runs `orven-table --full-precision`\n"
         "and compares with its own implementation of the classical tables.\n\n";

  Tally all[5];
  Tally before[5];
  std::ostringstream detail;
  for (const SpeciesReport& r : reports) {
    const int sp = r.cases.front().species;
    detail << "### " << Starting[sp].nameUK << "\n\n"
           << "Growth-rate parameter of the classes: " << Fixed(r.a0Lo, 4) << " (class "
           << Fixed(r.cases.back().S, 0) << ") to " << Fixed(r.a0Hi, 4) << " (class 1); search range "
           << Fixed(SiteBuiltInsFor(sp).A0SearchMin, 3) << "-" << Fixed(SiteBuiltInsFor(sp).A0SearchMax, 3)
           << ". Largest A0 search miss " << Fixed(r.a0Miss, 7) << ", site-index round trip "
           << Fixed(r.roundTrip, 4) << " m. Target 1: "
           << all[1].Mark(r.a0Lo >= SiteBuiltInsFor(sp).A0SearchMin && r.a0Hi <= SiteBuiltInsFor(sp).A0SearchMax &&
                          r.a0Miss < 1e-5 && r.roundTrip < 0.01)
           << ".\n\n"
           << "| class | SI (m) | start | Hg miss (m), largest at age | target 2 | yield class | mdV/dt max (age) | miss | target 3 | D3 50 / classical | D3 100 / classical | target 4 | before: Hg miss, mdV/dt, D3 50/100 |\n"
           << "|---|---|---|---|---|---|---|---|---|---|---|---|---|\n";
    for (std::size_t k = 0; k < r.cases.size(); ++k) {
      const SiteCase& c = r.cases[k];
      const TableFigures& f = r.after[k];
      const TableFigures& b = r.before[k];
      const double dc50 = YieldTableDiameter(sp, 50, c.S), dc100 = YieldTableDiameter(sp, 100, c.S);
      auto holds2 = [&](const TableFigures& t) { return t.complete && std::fabs(t.hgMaxMiss) <= HeightTolerance; };
      auto holds3 = [&](const TableFigures& t) {
        return t.complete && std::fabs(t.maiMax / c.yieldClass - 1) <= ProductionTolerance;
      };
      auto holds4 = [&](const TableFigures& t) {
        return t.complete && std::fabs(t.d50 / dc50 - 1) <= DiameterTolerance &&
               std::fabs(t.d100 / dc100 - 1) <= DiameterTolerance;
      };
      before[2].Mark(holds2(b)), before[3].Mark(holds3(b)), before[4].Mark(holds4(b));
      detail << "| " << Fixed(c.S, 0) << " | " << Fixed(c.SI, 1) << " | " << c.startAge << " | "
             << Signed(f.hgMaxMiss, 2) << " at " << f.hgMaxAge << " (rms " << Fixed(f.hgRms, 2) << ") | "
             << all[2].Mark(holds2(f)) << " | " << Fixed(c.yieldClass, 1) << " | " << Fixed(f.maiMax, 1)
             << " (" << f.maiAge << ") | " << Signed(100 * (f.maiMax / c.yieldClass - 1), 1) << " % | "
             << all[3].Mark(holds3(f)) << " | " << Fixed(f.d50, 1) << " / " << Fixed(dc50, 1) << " | "
             << Fixed(f.d100, 1) << " / " << Fixed(dc100, 1) << " | " << all[4].Mark(holds4(f)) << " | "
             << Signed(b.hgMaxMiss, 2) << ", " << Fixed(b.maiMax, 1) << ", " << Fixed(b.d50, 1) << "/"
             << Fixed(b.d100, 1) << " |\n";
    }
    detail << "\n";
  }

  out << "## Summary\n\n| target | holds (calibrated) | held with the starting coefficients |\n|---|---|---|\n";
  for (int t = 1; t <= 4; ++t)
    out << "| " << t << " | " << all[t].held << " of " << all[t].total << " | "
        << (t == 1 ? std::string("—") : std::to_string(before[t].held) + " of " + std::to_string(before[t].total))
        << " |\n";
  out << "\nA miss is printed in bold. Why the misses remain:\n\n"
         "- Target 2: one increment shape per species, with the site entering only\n"
         "  through the rate, cannot follow every curve of a classical family whose\n"
         "  curves also change shape with the class; the fit spreads the misses over\n"
         "  the classes and ages, and the rate must stay within the growth-rate\n"
         "  search range built into the site estimation.\n"
         "- Target 3: the basal-area increment has one site term; the classical\n"
         "  yield classes do not grow linearly with the site index, so the best and\n"
         "  the poorest classes pull in opposite directions.\n"
         "- Target 4: with the basal area held at the classical table's, the\n"
         "  diameter follows from the stem number, which the thinnings (quotients\n"
         "  0.90 -> 1.00, from below) set far more than self-thinning does; where the\n"
         "  classical table thinned harder or from above, the diameter misses\n"
         "  whatever the stem-number change.\n\n";

  out << "## Per species and site class\n\n"
         "Hg miss: table minus classical, the largest at the ages 5, 10, ... past\n"
         "the start (rms over them). \"before\": the same table with the starting\n"
         "(hand-chosen) coefficients.\n\n"
      << detail.str();

  out << "## Where the coefficients come from\n\n"
         "| group | coefficients | source |\n|---|---|---|\n"
         "| 4 | height-age curve b, beta, d (P18-P20) | least squares through the classical dominant heights (HdomFromHg of the classical mean height), every half class of the accepted range, ages 10-120, each curve through its class's height at 50 years; beta > 0, so the curve works for every reference height |\n"
         "| 11 | site-index height increment P60-P63 (P64 = -0.003 kept) | least squares of Hg1 - classical Hg over the comparison tables (target 2); the rate P60 + P61 SI is searched as its share of the growth-rate search range at the poorest and the best class, between 2 % and 98 % |\n"
         "| 1 | growth-rate height increment P2-P4 | equal to P62-P64: the two versions agree along A0 = P60 + P61 SI |\n"
         "| 12 | site-index basal-area increment P66, P67, P69, P70 (P68 = 0.6, P71 = 1 kept) | least squares of the relative yield-class miss (weight 100) and the relative D3 misses (weight 5) over the comparison tables |\n"
         "| 2 | growth-rate basal-area increment P6-P11 | P7 = P67 / P61, P6 = P66 - P7 P60, P8-P11 = P68-P71: equal to group 12 along the same line |\n"
         "| 13 | self-thinning P72, P74 (P73 = 2 kept) | the same misfit as group 12, fitted after it; then group 12 once more |\n"
         "| 3 | growth-rate stem-number change | equal to group 13 |\n"
         "| 7 | soil texture P36, P37 | A0 = P36 (1 + coarse sand %)^P37 gives, through the new rate line, the site indices the starting coefficients gave at 0 and 60 % coarse sand |\n"
         "| 5, 6 | Hdom from Hg, dominant height after thinning | the starting coefficients, unchanged (the classical tables give mean heights only; no data for a thinning effect) |\n\n";

  out << "## Coefficients\n\n| species | group 4 | group 11 | group 12 | group 13 | group 7 |\n|---|---|---|---|---|---|\n";
  for (const SpeciesCoefficients& s : Starting) {
    const SpeciesParameters& P = store.ModelParameters[s.code];
    auto list = [&](std::initializer_list<int> ks) {
      std::string text;
      for (int k : ks) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.6g", P[k]);
        text += (text.empty() ? "" : ", ") + std::string(buffer);
      }
      return text;
    };
    out << "| " << s.nameUK << " | " << list({18, 19, 20}) << " | " << list({60, 61, 62, 63, 64}) << " | "
        << list({66, 67, 68, 69, 70, 71}) << " | " << list({72, 73, 74}) << " | " << list({36, 37}) << " |\n";
  }
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::cerr << "calibrate-parameters: cannot write " << path << "\n";
    std::remove(path.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: calibrate-parameters OUTPUT_PARAMETER_FILE OUTPUT_REPORT\n";
    return 2;
  }
  ParameterStore startStore;
  for (const SpeciesCoefficients& s : Starting) {
    startStore.SpeciesTable[s.code].Present = true;
    Load(startStore.ModelParameters[s.code], s);
  }
  ComputeMaxSiteIndex(startStore);
  ParameterStore store = startStore;

  std::vector<SpeciesReport> reports;
  for (const SpeciesCoefficients& s : Starting) {
    const int sp = s.code;
    SpeciesReport report;
    GrowthModel startModel(startStore);
    for (double S : SiteClasses(sp)) {
      const SiteCase c = MakeCase(startModel, sp, S);
      report.before.push_back(RunTable(startStore, c));
    }

    FitHeightAgeCurve(store, sp);
    ComputeMaxSiteIndex(store);
    GrowthModel model(store);
    for (double S : SiteClasses(sp)) report.cases.push_back(MakeCase(model, sp, S));
    SpeciesParameters& P = store.ModelParameters[sp];
    FitHeightGrowth(store, sp, report.cases);
    FitBasalAreaGrowth(store, sp, report.cases);
    FitStemNumberChange(store, sp, report.cases);
    FitBasalAreaGrowth(store, sp, report.cases);
    TieGrowthRateModel(P);
    FitSoil(P, startStore.ModelParameters[sp]);
    std::cerr << s.nameUK << " fitted\n";

    for (const SiteCase& c : report.cases) report.after.push_back(RunTable(store, c));
    const RateLine line = RateLineOf(sp, report.cases);
    report.a0Lo = P[60] + P[61] * line.siLo;
    report.a0Hi = P[60] + P[61] * line.siHi;
    report.roundTrip = report.a0Miss = 0;
    for (const SiteCase& c : report.cases) {
      const double a0 = A0FromSiteIndex(model, sp, c.SI);
      report.a0Miss = std::max(report.a0Miss, std::fabs(a0 - (P[60] + P[61] * c.SI)));
      report.roundTrip = std::max(report.roundTrip, std::fabs(SiteIndexFromA0(model, sp, a0) - c.SI));
    }
    reports.push_back(std::move(report));
  }
  ComputeMaxSiteIndex(store);

  std::ostringstream text;
  Report(text, reports, store);
  return WriteFile(argv[1], Encode(store)) && WriteFile(argv[2], text.str()) ? 0 : 1;
}
