#include "model/TreeVolume.h"

#include <cmath>
#include <numbers>

#include "model/Sentinel.h"

namespace orven {
namespace {

constexpr int kSpeciesCount = 7;
constexpr int kDefinitionCount = 4;

// Shape of the correction term S; u = t/d, k = exponent of (1 - d/2).
enum class Correction {
  kConstant,          // s
  kOverHalfD,         // s / (1 - d/2)
  kOverHalfDSquared,  // s / (1 - d/2)^2
  kMerchK1,           // s / ((1 - u^2) (1 - d/2))
  kMerchK2,           // s / ((1 - u^2) (1 - d/2)^2)
};

// v = exp(c0 + c1 ln d + c2 ln h + c3 ln(h/(h-1.3)) + c4 Dg + c5 Dg^2 + c6 ln Dg
//         + c7 (ln Dg)^2 + cA A + cB B + cC C + S)
struct VolumeFunction {
  double c0, c1, c2, c3, c4, c5, c6, c7, cA, cB, cC, s;
  Correction correction;
};

using enum Correction;

constexpr VolumeFunction kVolumeFunctions[kDefinitionCount][kSpeciesCount] = {
  {  // total volume
    {0.467065, 2.100761, 0.715347, 0, 0, 0, 0.235416, 0.064329, 0, 0, 0, 0.002777, kConstant},  // beech
    {-0.172852, 2.084477, 0.801886, 1.07969, 0.280564, 0, 0, 0, 0, 0, 0, 0.003174, kConstant},  // oak
    {-1.088694, 2.002341, 1.022051, 2.174706, 0.697865, -0.614073, 0, 0, 0, 0, 0, 0.002518, kConstant},  // ash
    {-1.753576, 1.775814, 1.136852, 0.524851, 0.725722, -1.108216, 0, 0, 0, 0, 0, 0.001411, kOverHalfDSquared},  // Norway spruce
    {-2.713511, 1.759844, 1.44207, 1.917824, 0.252296, -0.813636, 0, 0, 0, 0, 0, 0.00175, kOverHalfDSquared},  // Sitka spruce
    {-1.202507, 1.832615, 0.991312, 0, 0, 0.259585, 0, 0, 0, 0, 0, 0.00216, kOverHalfD},  // Douglas fir
    {-3.05886, 1.789127, 1.459622, 4.226077, 1.564662, -2.573884, 0, 0, 0, 0, 0, 0.001046, kOverHalfDSquared},  // silver fir
  },
  {  // merchantable to 5 cm
    {-0.674491, 2.137268, 0.957545, 0, 0, 0.175118, 0, 0, 0.668822, 0.855764, 0, 0.002036, kMerchK1},  // beech
    {-0.7128, 2.10968, 0.919557, 0, 0.675413, -0.390777, 0, 0, 0.688118, 0.816693, 0, 0.001714, kMerchK2},  // oak
    {-1.348665, 1.991887, 1.098804, 0, 0.258224, 0, 0, 0, 0.429361, 0.955966, 0, 0.001704, kMerchK1},  // ash
    {-1.968223, 1.573607, 1.157948, 0, 0.244828, 0, 0, 0, -1.685292, 0.906558, 0.973479, 0.001306, kMerchK2},  // Norway spruce
    {-2.384499, 1.513453, 1.274685, 0, 0.114545, 0, 0, 0, -1.339713, 0.323825, 0, 0.001682, kMerchK2},  // Sitka spruce
    {-1.423267, 1.800541, 1.036478, 0, 0, 0.240247, 0, 0, 0, 1.022298, 0, 0.002183, kMerchK1},  // Douglas fir
    {-1.836165, 1.786329, 1.158275, 0, 1.036908, -1.640849, 0, 0, 0, 0, 0, 0.001053, kMerchK2},  // silver fir
  },
  {  // merchantable to 7 cm
    {-0.825426, 2.181697, 0.994047, 0, 0, 0.148965, 0, 0, 0.957453, 1.008783, 0, 0.001925, kMerchK1},  // beech
    {-0.855221, 2.125952, 0.94509, 0, 0.728208, -0.388666, 0, 0, 0.794239, 0.991454, 0, 0.00163, kMerchK2},  // oak
    {-1.515177, 1.99115, 1.125761, 0, 0.297575, 0, 0, 0, 0.558633, 1.070868, 0, 0.001774, kMerchK1},  // ash
    {-2.115425, 1.490901, 1.197033, 0, 0.236993, 0, 0, 0, -2.376159, 1.056454, 1.695886, 0.001331, kMerchK2},  // Norway spruce
    {-2.595419, 1.505677, 1.348035, 0, 0, 0, 0, 0, -0.771222, 0.77781, 0, 0.001642, kMerchK2},  // Sitka spruce
    {-1.429517, 1.791862, 1.033283, 0, 0, 0.275505, 0, 0, 0, 0.957605, 0, 0.002252, kMerchK1},  // Douglas fir
    {-1.864909, 1.803636, 1.168073, 0, 1.174249, -1.91471, 0, 0, 0, 0, 0, 0.001037, kMerchK2},  // silver fir
  },
  {  // merchantable to 10 cm
    {-0.865663, 2.158306, 0.98676, 0, 0, 0.157324, 0, 0, 0.608793, 0.843249, 0, 0.001848, kMerchK1},  // beech
    {-1.078952, 1.97802, 0.988531, 0, 0.482206, 0, 0, 0, 0, 0.850331, 0, 0.001546, kMerchK2},  // oak
    {-1.757332, 1.999106, 1.18868, 0, 0.228857, 0, 0, 0, 0.621417, 1.088072, 0, 0.001726, kMerchK1},  // ash
    {-2.386383, 1.361796, 1.285676, 0, 0.186363, 0, 0, 0, -3.366831, 1.064439, 2.544124, 0.001465, kMerchK2},  // Norway spruce
    {-2.766047, 1.576879, 1.403924, 0, 0, 0, 0, 0, 0, 0.983722, 0, 0.001723, kMerchK2},  // Sitka spruce
    {-1.171972, 1.800845, 0.952246, 0, 0, 0.365047, 0, 0, 0, 1.016504, 0, 0.002434, kMerchK1},  // Douglas fir
    {-1.941558, 1.755337, 1.179995, 0, 0.96566, -1.44801, 0, 0, 0, 0.808134, 0, 0.00105, kMerchK2},  // silver fir
  },
};

double CorrectionTerm(const VolumeFunction& f, double u, double d) {
  const double q = 1 - d / 2;
  switch (f.correction) {
    case kConstant: return f.s;
    case kOverHalfD: return f.s / q;
    case kOverHalfDSquared: return f.s / (q * q);
    case kMerchK1: return f.s / ((1 - u * u) * q);
    case kMerchK2: return f.s / ((1 - u * u) * (q * q));
  }
  return f.s;
}

// A term with a zero coefficient is not part of the species' function, so its
// argument is never evaluated (it could fault where the function does not).
double EvaluateVolumeFunction(const VolumeFunction& f, double t, double d, double h, double Dg) {
  const double u = t / d;
  const double w = (h - 1.3) / h;
  double y = f.c0 + f.c1 * std::log(d) + f.c2 * std::log(h);
  if (f.c3 != 0) y += f.c3 * std::log(h / (h - 1.3));
  if (f.c4 != 0) y += f.c4 * Dg;
  if (f.c5 != 0) y += f.c5 * Dg * Dg;
  if (f.c6 != 0) y += f.c6 * std::log(Dg);
  if (f.c7 != 0) {
    const double lnDg = std::log(Dg);
    y += f.c7 * lnDg * lnDg;
  }
  if (f.cA != 0) y += f.cA * std::log(1 + std::pow(u * w, 1.5));
  if (f.cB != 0) y += f.cB * std::log(1 - u * u * u * u * w * w);
  if (f.cC != 0) y += f.cC * std::log(1 + u * u * w);
  y += CorrectionTerm(f, u, d);
  return std::exp(y);
}

}  // namespace

double MerchDiameterLimit(int volumeDefinition) {
  switch (volumeDefinition) {
    case MerchantableTo5cm: return 0.05;
    case MerchantableTo7cm: return 0.07;
    case MerchantableTo10cm: return 0.10;
    default: return 0.0;
  }
}

double SmallTreeVolume(double d, double h) {
  if (!(d > 0 && h > 1.3)) return Sentinel;
  return (d * d * h + 1.3 * (d + 0.02) * (2 * d + 0.02)) * std::numbers::pi / 12;
}

double TreeVolume(int volumeDefinition, int species, double d, double h, double Dg) {
  if (h < 3) return volumeDefinition == TotalVolume ? SmallTreeVolume(d, h) : 0.0;
  if (species < 0 || species >= kSpeciesCount || volumeDefinition < 0 ||
      volumeDefinition >= kDefinitionCount) {
    return 0.0;
  }
  if (!(d > 0 && h > 1.3 && Dg > 0)) return Sentinel;
  const double t = MerchDiameterLimit(volumeDefinition);
  // A tree no thicker than the top diameter has no merchantable volume.
  if (d <= t) return 0.0;
  return EvaluateVolumeFunction(kVolumeFunctions[volumeDefinition][species], t, d, h, Dg);
}

double HeightForTreeVolume(int volumeDefinition, int species, double v, double d, double Dg) {
  const double t = MerchDiameterLimit(volumeDefinition);
  if (v <= 0 || d < t + 0.000001 || Dg < t + 0.000001 || d >= 9.9 || Dg >= 9.9) return Sentinel;

  const auto volumeAt = [&](double h) { return TreeVolume(volumeDefinition, species, d, h, Dg); };
  // Each point's volume is computed once and carried along with the point.
  double a = 10, va = volumeAt(a);
  double b = 30, vb = volumeAt(b);
  double next = b;
  int count = 0;
  while (true) {
    // Two points of equal volume give no direction to search in.
    if (vb == va) return Sentinel;
    next = b - (vb - v) * (b - a) / (vb - va);
    double vNext;
    if (next > 1.300001) {
      if (std::abs(v - vb) < std::abs(v - va)) {
        a = b;
        va = vb;
      }
      b = next;
      vb = vNext = volumeAt(next);
    } else {
      // Below breast height no volume function applies: move b halfway to a instead.
      next = b;
      vNext = vb;
      b = (a + b) / 2;
      vb = volumeAt(b);
    }
    ++count;
    if (std::abs(v - vNext) < 0.000001 || std::abs(b - a) < 0.000000001 || count >= 100) break;
  }
  return count < 100 ? next : Sentinel;
}

}  // namespace orven
