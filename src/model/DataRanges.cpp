#include "model/DataRanges.h"

#include <array>
#include <cmath>

#include "model/FloatFault.h"

namespace orven {
namespace {

struct Range {
  double lower;
  double upper;
};

// Ranges of the data behind the models, per species: age, dominant height,
// diameter, stem number, basal area.
struct FixedRanges {
  Range T, HD, D, N, G;
};

constexpr std::array<FixedRanges, SpeciesCount> DataRangeTable = {{
    {{14, 211}, {5.08, 36.95}, {0.5, 90.57}, {0.49, 24720.45}, {0.21, 73.58}},     // beech
    {{11, 184}, {4.38, 33.08}, {2.19, 91.88}, {13.89, 35032.12}, {4.46, 41.18}},   // oak
    {{10, 100}, {5, 40}, {5, 100}, {10, 20000}, {2, 50}},                          // ash
    {{14, 104}, {6.28, 29.82}, {3.46, 65.44}, {4.2, 26503.7}, {0.55, 64.41}},      // Norway spruce
    {{16, 105}, {6.66, 40.4}, {4.93, 66.43}, {4.37, 9513.52}, {0.18, 80.1}},       // Sitka spruce
    {{11, 120}, {6.89, 42.02}, {6.73, 87.15}, {8.51, 5175.14}, {0.63, 62.66}},     // Douglas fir
    {{20, 124}, {6.47, 36.54}, {6.72, 60.63}, {3.71, 3921.82}, {0.29, 85.4}},      // silver fir
}};

// Envelopes of the data: a height-age curve (b, beta, d) with the range of
// site indices, and diameter and basal-area bounds as functions of height.
// Ash has no envelopes; its zeros make every positive value count as outside.
struct Envelope {
  double b, beta, d;
  double SImin, SImax;
  double t1, t2, t3, t4;
  double u1, u2, u3, u4;
};

constexpr std::array<Envelope, SpeciesCount> EnvelopeTable = {{
    {1.7559, 3968.565, 36.709, 11.71, 28.4, 1.3564, -0.006, 2.4751, -0.006, 0, 0, 90.565, -132.622},
    {1.627, 1, 31.9543, 11.09, 25, 0.6901, -0.0104, 1.4994, -0.0104, 14.385, -67.083, 47.381,
     -64.3373},
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {2.029, 6650.961, 32.4984, 9.87, 30.3, 1.3075, -0.0065, 2.3143, -0.0065, 0, 0, 80.8332,
     -69.0551},
    {2.1681, -1891.73, 37.9887, 14.35, 30, 1.8161, -0.005, 2.3211, -0.005, 0, 0, 91.3968,
     -62.6448},
    {1.7559, 3968.565, 36.709, 20.27, 31.06, 1.764, -0.006, 2.0877, -0.006, 30.804, -117.995,
     62.2168, -79.3536},
    {2.1496, 131056.3, 20.4787, 5.99, 36.49, 1.9368, -0.0057, 2.2905, -0.0057, 45.6667, -110.712,
     100.0034, -127.18},
}};

}  // namespace

SiteIndexRange DataSiteIndexRange(int species) {
  return {EnvelopeTable[species].SImin, EnvelopeTable[species].SImax};
}

double DataBasalAreaUpper(int species) { return DataRangeTable[species].G.upper; }

bool OutsideDataRange(const GrowthModel& model, int code, int species, double value) {
  if (!IsSpeciesCode(species)) return false;
  const FixedRanges& ranges = DataRangeTable[species];
  Range range;
  switch (code) {
    case 0: range = ranges.T; break;
    case 1: case 19: range = ranges.HD; break;
    case 2: case 20:
      range = {model.HgFromHdom(species, ranges.HD.lower), model.HgFromHdom(species, ranges.HD.upper)};
      break;
    case 3: case 21: range = ranges.D; break;
    case 4: case 22: range = ranges.N; break;
    case 5: case 23: range = ranges.G; break;
    default: return false;
  }
  return value < range.lower || value > range.upper;
}

bool OutsideModelData(const GrowthModel& model, int species, int code, double T, double HD,
                      double value) {
  switch (code) {
    case 1: case 19: return SiteIndexOutsideData(species, T, HD);
    case 2: case 20: return SiteIndexOutsideData(species, T, model.HdomFromHg(species, value));
    case 3: case 21: return DiameterOutsideData(species, value, HD);
    case 5: case 23: return BasalAreaOutsideData(species, value, HD);
    default: return false;
  }
}

bool SiteIndexOutsideData(int species, double age, double Hdom) {
  if (!IsSpeciesCode(species)) return false;
  const Envelope& e = EnvelopeTable[species];
  double SI = CatchFloatFault([&] {
    double Z = Hdom - e.d;
    double R = Z + std::sqrt(Z * Z + 2 * e.beta * Hdom / std::pow(age, e.b));
    return Hdom * std::pow(50.0, e.b) * (R * std::pow(age, e.b) + e.beta) /
           ((R * std::pow(50.0, e.b) + e.beta) * std::pow(age, e.b));
  });
  return SI > 0 && (SI < 0.9 * e.SImin || SI > 1.1 * e.SImax);
}

bool DiameterOutsideData(int species, double D, double HD) {
  if (!IsSpeciesCode(species)) return false;
  const Envelope& e = EnvelopeTable[species];
  double lo = CatchFloatFault([&] { return std::exp(e.t1 - 10 * e.t2 * HD); });
  double hi = CatchFloatFault([&] { return std::exp(e.t3 - 10 * e.t4 * HD); });
  return lo > 0 && hi > 0 && (D < 0.8 * lo || D > 1.2 * hi);
}

bool BasalAreaOutsideData(int species, double G, double HD) {
  if (!IsSpeciesCode(species)) return false;
  const Envelope& e = EnvelopeTable[species];
  double lo = CatchFloatFault([&] { return e.u1 * std::exp(e.u2 / (10 * HD)); });
  double hi = CatchFloatFault([&] { return e.u3 * std::exp(e.u4 / (10 * HD)); });
  if (lo > 0 && hi > 0) return G < 0.8 * lo || G > 1.2 * hi;
  if (lo == 0) return G < 0.5 || G > 1.2 * hi;  // no lower envelope
  return false;
}

}  // namespace orven
