#include "Fits.h"

#include <nlopt.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "model/GrowthModel.h"
#include "model/YieldTable.h"
#include "site/SitePresets.h"
#include "site/SiteSearch.h"

namespace orven::calibrate {

namespace {

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

// Leaves the best point in s.x and the coefficients set from it.
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
  return s.objective(s.x);
}

double Square(double x) { return x * x; }
double Excess(double x) { return x > 0 ? x * x : 0; }

// Every target must hold for site classes 1-3; the poorer classes give way
// where the model cannot follow all of them (see the report).
constexpr double BetterClassesWeight = 100, PoorerClassHeightsWeight = 30;

// The logarithm of a ratio against its band, as a share of the band's
// half-width from its middle: within the band when |share| <= 1.
double BandShare(double ratio, double lo, double hi) {
  if (!(ratio > 0)) return 10;
  const double mid = (std::log(lo) + std::log(hi)) / 2, half = (std::log(hi) - std::log(lo)) / 2;
  return (std::log(ratio) - mid) / half;
}

// The youngest classical states, judged one-sidedly as well.
constexpr int YoungAge = 20;

// Growth by age and by density at the classical states. Both are set by the
// basal-area coefficients alone, and rank above everything the tables show,
// so leaving a band costs far more than any other miss.
double GrowthMisfit(const std::vector<GrowthFigure>& growth) {
  double sum = 0;
  for (const GrowthFigure& g : growth) {
    const double byAge = BandShare(g.ratioSI, GrowthRatioLow, GrowthRatioHigh);
    sum += 0.5 * Square(byAge) + 1e3 * Excess(std::fabs(byAge) - 0.8);
    // Young stands growing ahead of the classical ones are what a forester
    // notices first: at the youngest states no more than the classical growth.
    if (g.age <= YoungAge) sum += 100 * Excess(std::log(std::max(g.ratioSI, 1e-9)) / std::log(GrowthRatioHigh));
    if (!g.densityAge) continue;
    const double denser = BandShare(g.denserSI, DenserLow, DenserHigh);
    const double thinner = BandShare(g.thinnerSI, ThinnerLow, ThinnerHigh);
    // The guard starts well inside the bands, because the unthinned stand
    // pulls towards a steeper brake.
    sum += 0.05 * (Square(denser) + Square(thinner)) +
           1e3 * (Excess(std::fabs(denser) - 0.75) + Excess(std::fabs(thinner) - 0.75));
  }
  return sum;
}

// The cap ranks last: it gives way to every target above it. Inside the
// density bands (whose middles are weighed only lightly) it asks for the
// steepest brake they allow.
double CapMisfit(const SiteCase& c, double gMax120, double gMax200, const MisfitWeights& w) {
  const double upper = BoundsFor(c.species).GUpper;
  return w.cap * (Excess(gMax120 / upper - CapShareAt120) + Excess(gMax200 / upper - CapShareAt200));
}

double CaseMisfit(const SiteCase& c, const CaseFigures& f, const MisfitWeights& w) {
  double sum = GrowthMisfit(f.growth);
  // Inventories of the classical stand read back as its class.
  const double readBack = f.readBackClass > -10 ? f.readBackClass - c.siteClass : 5;
  sum += 4 * Square(readBack) + w.readBack * Excess(std::fabs(readBack) - 0.4);
  // A table that cannot be computed has no figures to weigh.
  if (!f.thinnedComputed) {
    sum += 1e3;
  } else {
    // The heights are counted over every class, so the poorer classes weigh
    // more here than elsewhere.
    const double hd50 = (f.hd50 - c.siteIndex) / HeightAt50Tolerance;
    sum += (c.siteClass <= 3 ? 1 : PoorerClassHeightsWeight) *
           (4 * (Square(hd50) + f.hgMeanSquareShare) + 400 * (Excess(std::fabs(hd50) - 0.8) + Excess(f.hgMissShare - 0.8)));
    // A thinned stand loses few stems to self-thinning.
    sum += 1e4 * Excess(f.mortalityThinned - 0.01);
  }
  if (!f.classicalComputed) {
    sum += 1e3;
  } else {
    const double production = (f.maiMax / c.yieldClass - 1) / ProductionTolerance;
    sum += 4 * Square(production) + w.production * Excess(std::fabs(production) - 0.7);
    // Culmination well before the end of the table.
    if (c.siteClass <= 3 && f.maiAt130 > 0) sum += 400 * Excess(f.maiAt150 / f.maiAt130 - 0.99);
  }
  if (!f.unthinnedComputed || !f.stemNumberNeverRises) {
    sum += 1e3;
  } else {
    sum += CapMisfit(c, f.gMax120, f.gMax, w);
    // The unthinned stand approaches a relative spacing typical of dense stands.
    sum += 0.05 * Square(f.rsMin - 14) + 10 * Excess(12 - f.rsMin);
  }
  return c.siteClass <= 3 ? BetterClassesWeight * sum : sum;
}

// How far the species' cases are from the targets; 0 when every figure is
// comfortably inside.
double Misfit(const ParameterStore& store, const std::vector<SiteCase>& cases, const MisfitWeights& w) {
  double total = 0;
  for (const SiteCase& c : cases) total += CaseMisfit(c, Measure(store, c, false), w);
  return total;
}

// The site-index line as shares of the growth-rate search range at the ends
// of the data's site indices.
struct RateScale {
  double lo, hi;      // A0 search range
  double siLo, siHi;  // SImin, SImax
  double Rate(const SpeciesParameters& P, double SI) const { return P[60] + P[61] * SI; }
  double Share(const SpeciesParameters& P, double SI) const { return (Rate(P, SI) - lo) / (hi - lo); }
  void Set(SpeciesParameters& P, double shareLo, double shareHi) const {
    const double a = lo + shareLo * (hi - lo), b = lo + shareHi * (hi - lo);
    P[61] = (b - a) / (siHi - siLo);
    P[60] = a - P[61] * siLo;
  }
};

RateScale ScaleOf(int species) {
  const SiteBuiltIns& search = SiteBuiltInsFor(species);
  const SpeciesBounds& b = BoundsFor(species);
  return {search.A0SearchMin, search.A0SearchMax, b.SImin, b.SImax};
}

// Keeps the line where the site estimation can use it: the preset inside the
// data's site indices with a margin, and positive growth for every case.
double ScalePenalty(const SpeciesParameters& P, int species, const std::vector<SiteCase>& cases) {
  const RateScale scale = ScaleOf(species);
  double penalty = 0;
  if (species != Oak) {
    SiteParameters preset;
    PresetUserA0parameter(preset, species);
    const double SI = (preset.UserA0Parameter - P[60]) / P[61];
    const SpeciesBounds& b = BoundsFor(species);
    const double top = std::min(1.2 * b.SImax, SiteBuiltInsFor(species).SiteIndexSearchMax) - 1;
    penalty += 1e6 * (Excess(0.82 * b.SImin - SI) + Excess(SI - top));
  }
  for (const SiteCase& c : cases) penalty += 1e6 * Excess(0.2 * scale.lo - scale.Rate(P, c.siteIndex));
  return penalty;
}

double FitHeightGrowthFrom(ParameterStore& store, int species, const std::vector<SiteCase>& cases,
                           const MisfitWeights& w, std::vector<double>& x, int maxEvaluations) {
  SpeciesParameters& P = store.ModelParameters[species];
  const RateScale scale = ScaleOf(species);
  Search s;
  s.x = x;
  s.lower = {0.01, 0.1, 0.2, -0.6, -0.03};
  s.upper = {0.9, 0.99, 6.0, 0.0, 0.01};
  s.step = {0.05, 0.05, 0.1, 0.02, 0.002};
  s.maxEvaluations = maxEvaluations;
  s.objective = [&](const std::vector<double>& x) {
    if (x[1] < x[0] + 0.05) return 1e6 * (1 + x[0] + 0.05 - x[1]);
    scale.Set(P, x[0], x[1]);
    P[62] = x[2], P[63] = x[3], P[64] = x[4];
    return Misfit(store, cases, w) + ScalePenalty(P, species, cases);
  };
  const double value = Minimise(s);
  x = s.x;
  return value;
}

// Where the local search ends depends on the shape it starts from, so the
// first fit makes short searches from a grid of shapes (the exponent of Hdom,
// the height at which the increment peaks, the place of the rates in their
// range) and carries on from the best.
void FitHeightGrowth(ParameterStore& store, int species, const std::vector<SiteCase>& cases,
                     const MisfitWeights& w, bool severalStarts) {
  const SpeciesParameters& P = store.ModelParameters[species];
  const RateScale scale = ScaleOf(species);
  std::vector<std::vector<double>> starts = {
      {scale.Share(P, scale.siLo), scale.Share(P, scale.siHi), P[62], P[63], P[64]}};
  if (severalStarts)
    for (double exponent : {1.0, 2.0, 3.0, 4.0, 5.0})
      for (double peakHeight : {8.0, 14.0, 25.0})
        for (auto [lo, hi] : {std::pair{0.1, 0.6}, std::pair{0.3, 0.95}})
          starts.push_back({lo, hi, exponent, -exponent / peakHeight, -0.003});
  std::vector<double> best;
  double bestValue = 0;
  for (std::vector<double>& x : starts) {
    const double value = FitHeightGrowthFrom(store, species, cases, w, x, severalStarts ? 150 : 500);
    if (best.empty() || value < bestValue) best = x, bestValue = value;
  }
  FitHeightGrowthFrom(store, species, cases, w, best, 500);
}

// The basal-area coefficients as searched: the logarithms of the rate at
// SImin and SImax, P68, the logarithm of the basal area of the peak
// -P68/P69 (so that the exponent can change with the peak held), P70, P71.
struct BasalAreaShape {
  SpeciesParameters& P;
  RateScale scale;
  std::vector<double> Get() const {
    auto rate = [&](double SI) { return std::log(std::max(P[66] + P[67] * SI, 1e-4)); };
    const double peak = P[69] < 0 ? -P[68] / P[69] : 500;
    return {rate(scale.siLo), rate(scale.siHi), P[68], std::log(std::clamp(peak, 1.0, 500.0)), P[70], P[71]};
  }
  void Set(const std::vector<double>& x) const {
    const double a = std::exp(x[0]), b = std::exp(x[1]);
    P[67] = (b - a) / (scale.siHi - scale.siLo);
    P[66] = a - P[67] * scale.siLo;
    P[68] = x[2], P[69] = -x[2] / std::exp(x[3]), P[70] = x[4], P[71] = x[5];
  }
};
const std::vector<double> BasalAreaLower = {std::log(1e-4), std::log(1e-4), 0.02, 0.0, -5.0, 0.05};
const std::vector<double> BasalAreaUpper = {std::log(1e3), std::log(1e3), 8.0, std::log(500.0), 0.0, 2.0};
const std::vector<double> BasalAreaStep = {0.2, 0.2, 0.2, 0.1, 0.01, 0.1};

double RatePenalty(const SpeciesParameters& P, const std::vector<SiteCase>& cases, double rateLo) {
  double penalty = 0;
  for (const SiteCase& c : cases) penalty += 1e6 * Excess(0.05 * rateLo - (P[66] + P[67] * c.siteIndex));
  return penalty;
}

// Growth by age and by density at the classical states need no table, nor
// does the unthinned basal area stepped with the increments alone, so a
// cheap search over a grid of shapes (the exponent of G, the basal area of
// the peak against the classical one) places the increment before the
// tables are fitted. The rates start where the mean ratio is 1.
void PlaceBasalAreaGrowth(ParameterStore& store, int species, const std::vector<SiteCase>& cases,
                          const MisfitWeights& w) {
  SpeciesParameters& P = store.ModelParameters[species];
  const BasalAreaShape shape{P, ScaleOf(species)};
  const GrowthModel model(store);
  double classicalG = 0;
  int count = 0;
  for (const SiteCase& c : cases)
    for (const ClassicalGrowth& p : c.classicalGrowth)
      if (c.siteClass <= 3 && p.age >= DensityFromAge && p.age <= DensityToAge) classicalG += p.G, ++count;
  if (count) classicalG /= count;

  auto objective = [&](const std::vector<double>& x) {
    shape.Set(x);
    double total = RatePenalty(P, cases, std::exp(x[0]));
    for (const SiteCase& c : cases) {
      const UnthinnedBasalArea unthinned = QuickUnthinnedBasalArea(model, c);
      const double sum = GrowthMisfit(MeasureGrowth(model, c, P[60] + P[61] * c.siteIndex)) +
                         CapMisfit(c, unthinned.to120, unthinned.to200, w);
      total += c.siteClass <= 3 ? BetterClassesWeight * sum : sum;
    }
    return total;
  };
  std::vector<double> best = shape.Get();
  double bestValue = objective(best);
  for (double exponent : {0.1, 0.5, 1.0, 2.0, 4.0, 6.0})
    for (double peakShare : {0.8, 1.1, 1.5, 2.5})
      for (double heightExponent : {0.2, 0.6, 1.0, 1.5}) {
        std::vector<double> x = best;
        x[2] = exponent, x[3] = std::log(peakShare * classicalG), x[5] = heightExponent;
        x[4] = -0.02;
        // The level: the mean log ratio of the better classes to 0.
        shape.Set(x);
        double meanLog = 0;
        int n = 0;
        for (const SiteCase& c : cases)
          if (c.siteClass <= 3)
            for (const GrowthFigure& g : MeasureGrowth(model, c, P[60] + P[61] * c.siteIndex))
              if (g.ratioSI > 0) meanLog += std::log(g.ratioSI), ++n;
        if (n) x[0] -= meanLog / n, x[1] -= meanLog / n;
        Search s{objective, x, BasalAreaLower, BasalAreaUpper, BasalAreaStep, 300};
        const double value = Minimise(s);
        if (value < bestValue) best = s.x, bestValue = value;
      }
  shape.Set(best);
}

void FitBasalAreaGrowth(ParameterStore& store, int species, const std::vector<SiteCase>& cases,
                        const MisfitWeights& w) {
  SpeciesParameters& P = store.ModelParameters[species];
  const BasalAreaShape shape{P, ScaleOf(species)};
  Search s{nullptr, shape.Get(), BasalAreaLower, BasalAreaUpper, BasalAreaStep, 400};
  s.objective = [&](const std::vector<double>& x) {
    shape.Set(x);
    return Misfit(store, cases, w) + RatePenalty(P, cases, std::exp(x[0]));
  };
  Minimise(s);
}

void FitStemNumberChange(ParameterStore& store, int species, const std::vector<SiteCase>& cases,
                         const MisfitWeights& w) {
  SpeciesParameters& P = store.ModelParameters[species];
  Search s;
  s.x = {std::log(P[72]), P[73], P[74]};
  s.lower = {std::log(1e-9), 0.5, 0.0};
  s.upper = {std::log(1.0), 3.0, 0.05};
  s.step = {0.5, 0.1, 0.002};
  s.maxEvaluations = 200;
  s.objective = [&](const std::vector<double>& x) {
    P[72] = std::exp(x[0]), P[73] = x[1], P[74] = x[2];
    return Misfit(store, cases, w);
  };
  Minimise(s);
}

}  // namespace

void FitHeightAgeCurve(ParameterStore& store, int species) {
  GrowthModel model(store);
  SpeciesParameters& P = store.ModelParameters[species];
  const double top = BoundsFor(species).TopSiteClass;
  struct Point { double T, H, H50; };
  std::vector<Point> points;
  for (double S = 1; S <= top + 1e-9; S += 0.5)
    for (int T = 10; T <= ThinnedEndAge; T += 5) {
      const double hg = YieldTableHg(species, T, S);
      if (hg < 1.3) continue;
      points.push_back({double(T), model.HdomFromHg(species, hg),
                        model.HdomFromHg(species, YieldTableHg(species, 50, S))});
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
      const double h = model.DominantHeightAtAge(species, p.T, 50, p.H50);
      sum += h > 0 ? Square(h - p.H) : 1e4;
    }
    return sum;
  };
  Minimise(s);
}

void FitGrowth(ParameterStore& store, int species, const std::vector<SiteCase>& cases, const MisfitWeights& w) {
  PlaceBasalAreaGrowth(store, species, cases, w);
  for (int round = 0; round < 3; ++round) {
    FitHeightGrowth(store, species, cases, w, round == 0);
    FitBasalAreaGrowth(store, species, cases, w);
    FitStemNumberChange(store, species, cases, w);
  }
}

void TieGrowthRateModel(SpeciesParameters& P) {
  for (int i = 0; i < 3; ++i) P[2 + i] = P[62 + i];
  P[7] = P[67] / P[61];
  P[6] = P[66] - P[7] * P[60];
  for (int i = 0; i < 4; ++i) P[8 + i] = P[68 + i];
  for (int i = 0; i < 3; ++i) P[12 + i] = P[72 + i];
}

// A0 = P36 (1 + coarse sand %)^P37, pinned at 0 and 60 % to the rates of
// site indices inside the data: no effect for beech, a slight rise with
// coarse sand for Sitka spruce, a fall for the others.
void SetSoilTexture(SpeciesParameters& P, int species) {
  const RateScale scale = ScaleOf(species);
  auto rateAt = [&](double share) { return scale.Rate(P, scale.siLo + share * (scale.siHi - scale.siLo)); };
  double at0 = rateAt(0.7), at60 = rateAt(0.3);
  if (species == Beech) at0 = at60 = rateAt(0.5);
  if (species == SitkaSpruce) at0 = rateAt(0.5), at60 = rateAt(0.6);
  P[36] = at0;
  P[37] = std::log(at60 / at0) / std::log(61.0);
}

}  // namespace orven::calibrate
