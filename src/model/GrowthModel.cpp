#include "model/GrowthModel.h"

#include <cmath>

#include "model/FloatFault.h"
#include "model/Sentinel.h"

namespace orven {
namespace {

bool AnyNegative(double a, double b) { return a < 0 || b < 0; }
bool AnyNegative(double a, double b, double c) { return a < 0 || b < 0 || c < 0; }

// The three increment forms shared by both model versions; `first` is the
// element of the species row where the version's group 1 (or 11) begins.
double HeightIncrement(const SpeciesParameters& P, int first, double rate, double Hdom,
                       double G) {
  return rate * std::pow(Hdom, P[first + 2]) * std::exp(P[first + 3] * Hdom + P[first + 4] * G);
}

double BasalAreaIncrement(const SpeciesParameters& P, int first, double correction,
                          double siteParameter, double G, double Hdom) {
  return correction * (P[first] + P[first + 1] * siteParameter) * std::pow(G, P[first + 2]) *
         std::exp(P[first + 3] * G + P[first + 4] * std::pow(Hdom, P[first + 5]));
}

double StemNumberChange(const SpeciesParameters& P, int first, double N, double Hdom) {
  double n = N / 100;
  return -100 * P[first] * std::pow(n, P[first + 1]) * std::exp(P[first + 2] * Hdom * std::sqrt(n));
}

// Start of each coefficient group in a species row.
constexpr int GrowthRateHeight = 0;        // group 1
constexpr int GrowthRateBasalArea = 6;     // group 2
constexpr int GrowthRateStemNumber = 12;   // group 3
constexpr int HeightAgeCurve = 18;         // group 4
constexpr int HeightConversion = 24;       // group 5
constexpr int ThinningHeight = 30;         // group 6
constexpr int SiteIndexHeight = 60;        // group 11
constexpr int SiteIndexBasalArea = 66;     // group 12
constexpr int SiteIndexStemNumber = 72;    // group 13

}  // namespace

double GrowthModel::HdomIncrementA0(int species, double Hdom, double G, double A0) const {
  if (!IsSpeciesCode(species) || AnyNegative(Hdom, G, A0)) return Sentinel;
  return HeightIncrement(store_->ModelParameters[species], GrowthRateHeight, A0, Hdom, G);
}

double GrowthModel::BasalAreaIncrementA0(int species, double G, double Hdom, double A0) const {
  if (!IsSpeciesCode(species) || AnyNegative(G, Hdom, A0)) return Sentinel;
  return BasalAreaIncrement(store_->ModelParameters[species], GrowthRateBasalArea,
                            growthCorrection_, A0, G, Hdom);
}

double GrowthModel::StemNumberChangeA0(int species, double N, double Hdom) const {
  if (!IsSpeciesCode(species) || AnyNegative(N, Hdom)) return Sentinel;
  return StemNumberChange(store_->ModelParameters[species], GrowthRateStemNumber, N, Hdom);
}

double GrowthModel::HdomIncrementSI(int species, double Hdom, double G, double SI) const {
  if (!IsSpeciesCode(species) || AnyNegative(Hdom, G, SI)) return Sentinel;
  const SpeciesParameters& P = store_->ModelParameters[species];
  double rate = P[SiteIndexHeight] + P[SiteIndexHeight + 1] * SI;
  return HeightIncrement(P, SiteIndexHeight, rate, Hdom, G);
}

double GrowthModel::BasalAreaIncrementSI(int species, double G, double Hdom, double SI) const {
  if (!IsSpeciesCode(species) || AnyNegative(G, Hdom, SI)) return Sentinel;
  return BasalAreaIncrement(store_->ModelParameters[species], SiteIndexBasalArea,
                            growthCorrection_, SI, G, Hdom);
}

double GrowthModel::StemNumberChangeSI(int species, double N, double Hdom) const {
  if (!IsSpeciesCode(species) || AnyNegative(N, Hdom)) return Sentinel;
  return StemNumberChange(store_->ModelParameters[species], SiteIndexStemNumber, N, Hdom);
}

double GrowthModel::DominantHeightAtAge(int species, double age, double referenceAge,
                                        double referenceHeight) const {
  if (!IsSpeciesCode(species)) return Sentinel;
  const SpeciesParameters& P = store_->ModelParameters[species];
  const double b = P[HeightAgeCurve], beta = P[HeightAgeCurve + 1], d = P[HeightAgeCurve + 2];
  const double t = age, t0 = referenceAge, H0 = referenceHeight;
  return CatchFloatFault([&] {
    double Z = H0 - d;
    double R = Z + std::sqrt(Z * Z + 2 * beta * H0 / std::pow(t0, b));
    return H0 * std::pow(t, b) * (R * std::pow(t0, b) + beta) /
           ((R * std::pow(t, b) + beta) * std::pow(t0, b));
  });
}

double GrowthModel::HgFromHdom(int species, double Hdom) const {
  if (!IsSpeciesCode(species)) return Sentinel;
  const SpeciesParameters& P = store_->ModelParameters[species];
  double h = (Hdom - P[HeightConversion + 1]) / P[HeightConversion];
  return h < Hdom ? h : Hdom;  // mean height never exceeds dominant height
}

double GrowthModel::HdomFromHg(int species, double Hg) const {
  if (!IsSpeciesCode(species)) return Sentinel;
  const SpeciesParameters& P = store_->ModelParameters[species];
  double h = P[HeightConversion] * Hg + P[HeightConversion + 1];
  return h > Hg ? h : Hg;
}

double GrowthModel::HdomAfterThinning(int species, double Dbefore, double Dafter,
                                      double HdomBefore) const {
  if (!IsSpeciesCode(species)) return Sentinel;
  const SpeciesParameters& P = store_->ModelParameters[species];
  const double p = P[ThinningHeight], r = P[ThinningHeight + 1];
  double q = Dafter / Dbefore;
  // 1 - p - r + r/3 + p q + r q^2 - r q^3 / 3, grouped so that q = 1 gives exactly 1.
  return HdomBefore * (1 + p * (q - 1) + r * (q * q - 1) - r * (q * q * q - 1) / 3);
}

double GrowthModel::MaxSiteIndex(int species) const {
  return IsSpeciesCode(species) ? store_->MaxSiteIndex[species] : 0;
}

void ComputeMaxSiteIndex(ParameterStore& store) {
  GrowthModel model(store);
  for (int species = 0; species < SpeciesCount; ++species) {
    if (!store.SpeciesTable[species].Present) {
      store.MaxSiteIndex[species] = 0;
      continue;
    }
    // Walks the grid by repeated addition, so the values are those of 4 + k * 0.1
    // as accumulated, not rounded grid points.
    double x = 4;
    double v;
    do {
      x += 0.1;
      v = model.DominantHeightAtAge(species, 50, 50, x);
    } while (!(v < 0) && !(x > 100));
    store.MaxSiteIndex[species] = x - 0.1;
  }
}

ParameterFileResult ReadParametersAtStartUp(ParameterStore& store, const std::string& path,
                                            Language language) {
  ParameterFileResult read = ReadParameterFile(store, path, language);
  AssignRadioIndices(store);
  ComputeMaxSiteIndex(store);
  return read;
}

}  // namespace orven
