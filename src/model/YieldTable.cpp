#include "model/YieldTable.h"

#include <algorithm>
#include <cmath>

#include "model/FloatFault.h"
#include "model/Sentinel.h"

namespace orven {
namespace {

constexpr int kBeech = 0;
constexpr int kNorwaySpruce = 3;
constexpr int kDouglasFir = 5;
constexpr int kSilverFir = 6;

// Rows of the coefficient tables: one per species code, then Norway spruce's
// second regime (site classes above the split).
constexpr int kNorwaySpruceSecondRegime = 7;
constexpr int kRegimeCount = 8;

// A coefficient that depends on the site class: c0 + cS * S + cL * ln S.
struct SiteTerm {
  double c0 = 0;
  double cS = 0;
  double cL = 0;
};

// Absent terms are left out so that they cannot fault.
double At(const SiteTerm& c, double S) {
  double value = c.c0;
  if (c.cS != 0) value += c.cS * S;
  if (c.cL != 0) value += c.cL * std::log(S);
  return value;
}

bool IsZero(const SiteTerm& c) { return c.c0 == 0 && c.cS == 0 && c.cL == 0; }

int SpeciesRow(int species) {
  return (species < 0 || species >= kNorwaySpruceSecondRegime) ? kBeech : species;
}

int Regime(int species, double S) {
  const int row = SpeciesRow(species);
  return (row == kNorwaySpruce && S > NorwaySpruceSiteClassSplit) ? kNorwaySpruceSecondRegime : row;
}

// Hg = A * (1 - exp(-k T))^p + h0 with p = 1 / pInverse.
struct HeightCoefficients {
  SiteTerm A, k, pInverse;
  double h0;
};

constexpr HeightCoefficients kHeight[kRegimeCount] = {
  {{39.1259, -4.3937}, {0.0256, 0.00102}, {0.5841, -0.0622}, 1.5192},     // beech
  {{38.3356, -3.5797}, {0.0202, -0.00048}, {1.057, -0.0385}, -3.6531},    // oak
  {{49.0022, -3.0716}, {0.0218, -0.00203}, {1.8076}, -10.2248},           // ash
  {{41.9491, -4.0557}, {0.0266, 0.00116}, {0.6825, -0.0656}, 0.1155},     // Norway spruce
  {{41.5284, -4.9054}, {0.0463, 0.00202}, {0.4198, -0.0502}, -0.2416},    // Sitka spruce
  {{56.9578, -4.1799}, {0.0247, 0.000715}, {0.9063, -0.0469}, -3.8542},   // Douglas fir
  {{49.5162, -4.041}, {0.024, -0.00039}, {0.6529, -0.0427}, -0.3805},     // silver fir
  {{45.1666, -2.2115}, {0.0246, -0.00066}, {0.7649, -0.0627}, -1.7816},   // Norway spruce, S > split
};

// D = a * T^b * exp(e T) + d0 (cm).
struct DiameterCoefficients {
  SiteTerm a, b, e, d0;
};

constexpr DiameterCoefficients kDiameter[kRegimeCount] = {
  {{0.694, -0.0924}, {0.9661, 0, -0.00087}, {0, 0.00045}, {-4.803, 0.44}},    // beech
  {{0.7355, 0.1332}, {0.9602, -0.0762}, {0, 0.00062}, {-4.2722, -0.6402}},    // oak
  {{0.9828, -0.101}, {0.9792, 0, -0.00067}, {0, 0.00006}, {-3.4006, -0.5142}},  // ash
  {{0.2524, 0.00651}, {1.3092, -0.091}, {0, 0.00197}, {0.1598, -0.00912}},    // Norway spruce
  {{0.4285, 0.0572}, {1.1994, 0, -0.0359}, {0, -0.00302}, {-2.2607, -3.0155}},  // Sitka spruce
  {},                                                                         // Douglas fir: own formula
  {{12.5516, 1.3637}, {0.4742, -0.0547}, {0, 0.00065}, {-45.0878, 2.4205}},   // silver fir
  {{1.1715, -0.0102}, {0.8883, -0.0749}, {0, 0.00198}, {1.8066, -0.4763}},    // Norway spruce, S > split
};

// Douglas fir grows in diameter almost linearly with age.
double DouglasFirDiameter(double T, double S) {
  return (0.9519 + 0.031 * std::log(S)) * T + (6.4266 - 2.9807 * S) * std::log(T) + 6.2132 * S -
         21.0505;
}

// G = A * (1 - b exp(-k T)) * exp(-m T) (m2/ha).
struct BasalAreaCoefficients {
  SiteTerm A;
  double b;
  SiteTerm k, m;
};

constexpr BasalAreaCoefficients kBasalArea[kRegimeCount] = {
  {{23.5097, -0.3353}, 1.2768, {0.0685, -0.0077}, {-0.00212, 0.000315}},   // beech
  {{17.4685, -0.1959}, 0.7305, {0.0672, -0.00788}, {-0.00112, 0.000212}},  // oak
  {{11.6974, -0.4531}, 1.3959, {0.1187, -0.0152}, {-0.00263, 0.000603}},   // ash
  {{42.3708, -4.3864}, 0.5051, {0.0186, 0.0077}, {0.00303, -0.00111}},     // Norway spruce
  {{33.9109, -0.34}, 11.1076, {0.2302, 0, -0.085}, {-0.00423, 0.00104}},   // Sitka spruce
  {{49.4947, -3.9516}, 1.9042, {0.0837, -0.00124}, {0.00594, -0.00076}},   // Douglas fir
  {{50.1368, 3.4724}, 1.3814, {0.0493, -0.00375}, {-0.00043, 0.000804}},   // silver fir
  {{35.7999, -2.7552}, 1.4334, {0.1573, 0, -0.0657}, {-0.00159, -0.00033}},  // Norway spruce, S > split
};

// N = q / X^p + r with X = u T + v ln T (stems per ha).
struct StemNumberCoefficients {
  double q, r;
  SiteTerm u, v, p;
};

constexpr StemNumberCoefficients kStemNumber[kRegimeCount] = {
  {1647.2, -8.3463, {0.0496, -0.00657}, {-0.1177, 0.0214}, {1.7207, 0, 0.2158}},    // beech
  {13431172, 21.5953, {5.4213, 0.2084}, {-8.2854, -4.8293}, {2.0146, -0.0681}},     // oak
  {61.1326, -12.8942, {0.0149, -0.00089}, {0.00338, -0.0119}, {1.9494, 0, -0.0942}},  // ash
  {683.3, -199.4, {0.000979, 0.00144}, {0.2766, -0.0381}, {5.6675, 0, -1.4451}},    // Norway spruce
  {1.077, -96.5978, {0.00183, -0.00035}, {}, {2.5276, -0.2671, 0.2837}},            // Sitka spruce
  {74.3079, 3.8055, {0.00588, 0.000994}, {0.1391, -0.0244}, {4.1686, 0, -0.4126}},  // Douglas fir
  {128.7, 161.3, {0.0158, -0.00216}, {}, {3.0832, -0.2555}},                        // silver fir
  {679.6, -493.4, {0.000478, 0.000469}, {0.2221, -0.0165}, {2.2565, 0.1628}},       // Norway spruce, S > split
};

// S = c0 + c1 Y + c2 Y^2 + c3 / Y.
struct SiteClassCoefficients {
  double c0, c1, c2, c3;
};

constexpr SiteClassCoefficients kSiteClass[kRegimeCount] = {
  {5.154351, -0.428144, 0, 5.886266},   // beech
  {7.5258, -0.9122, 0.0097, 0},         // oak
  {2.54627, -0.40076, 0, 11.64624},     // ash
  {-4.442182, 0, 0, 94.032945},         // Norway spruce, Y below the split
  {3.622654, -0.133496, 0, 9.464715},   // Sitka spruce
  {9.526772, -0.362205, 0, 0},          // Douglas fir
  {-0.366643, -0.051548, 0, 52.037855}, // silver fir
  {5.355545, -0.245697, 0, 10.856284},  // Norway spruce, Y at or above the split
};

// The secant variant shared by the yield-table solvers: the better of the two
// old points is kept. Faults of the arithmetic are left to the caller.
template <class Function>
double SolveSecant(Function&& f, double target, double a, double b) {
  double next = b;
  int count = 0;
  do {
    const double fa = f(a);
    const double fb = f(b);
    if (fb == fa) return Sentinel;
    next = b - (fb - target) * (b - a) / (fb - fa);
    if (std::abs(target - fb) < std::abs(target - fa)) a = b;
    b = next;
    ++count;
  } while (!(std::abs(target - f(next)) < 1e-12) && count < 100);
  return count >= 100 ? Sentinel : next;
}

double ClampToSiteClassLimits(int species, double S) {
  const SiteClassRange limits = SiteClassLimits(species);
  return std::clamp(S, limits.lo, limits.hi);
}

// A faulting formula gives the sentinel, which must not be clamped into range.
template <class Compute>
double ClampedInitialState(Compute&& compute, double lo, double hi) {
  const double value = CatchFloatFault(compute);
  return value == Sentinel ? Sentinel : std::clamp(value, lo, hi);
}

}  // namespace

double YieldTableHg(int species, double T, double S) {
  return CatchFloatFault([&] {
    const HeightCoefficients& c = kHeight[Regime(species, S)];
    const double p = 1 / At(c.pInverse, S);
    return At(c.A, S) * std::pow(1 - std::exp(-At(c.k, S) * T), p) + c.h0;
  });
}

double YieldTableAgeAtHg(int species, double Hg, double S) {
  return SolveSecant([&](double T) { return YieldTableHg(species, T, S); }, Hg, 15, 25);
}

double SiteClassFromHg(int species, double Hg, double T) {
  return SolveSecant([&](double S) { return YieldTableHg(species, T, S); }, Hg, 1, 4);
}

double YieldClassFromHg(int species, double Hg, double T) {
  // A site class that could not be found has no yield class; passed on, the
  // sentinel would come out as a huge positive yield class.
  double siteClass = SiteClassFromHg(species, Hg, T);
  if (siteClass == Sentinel) return Sentinel;
  return YieldClassFromSiteClass(species, siteClass);
}

double SiteClassFromYieldClass(int species, double Y) {
  if (Y <= 0.001) Y = 0.001;
  int row = SpeciesRow(species);
  if (row == kNorwaySpruce && Y >= NorwaySpruceYieldClassSplit) row = kNorwaySpruceSecondRegime;
  const SiteClassCoefficients& c = kSiteClass[row];
  double S = c.c0;
  if (c.c1 != 0) S += c.c1 * Y;
  if (c.c2 != 0) S += c.c2 * Y * Y;
  if (c.c3 != 0) S += c.c3 / Y;
  return S;
}

double YieldClassFromSiteClass(int species, double S) {
  return CatchFloatFault([&] {
    return SolveSecant([&](double Y) { return SiteClassFromYieldClass(species, Y); }, S, 5, 15);
  });
}

SiteClassRange SiteClassLimits(int species) {
  switch (species) {
    case kBeech: return {1, 5};
    case kNorwaySpruce: return {1, 8};
    case kSilverFir: return {1, 3};
    default: return {1, 4};
  }
}

double YieldTableDiameter(int species, double T, double S) {
  return ClampedInitialState(
      [&] {
        const double s = ClampToSiteClassLimits(species, S);
        if (species == kDouglasFir) return DouglasFirDiameter(T, s);
        const DiameterCoefficients& c = kDiameter[Regime(species, s)];
        return At(c.a, s) * std::pow(T, At(c.b, s)) * std::exp(At(c.e, s) * T) + At(c.d0, s);
      },
      1, 200);
}

double YieldTableBasalArea(int species, double T, double S) {
  return ClampedInitialState(
      [&] {
        const double s = ClampToSiteClassLimits(species, S);
        const BasalAreaCoefficients& c = kBasalArea[Regime(species, s)];
        return At(c.A, s) * (1 - c.b * std::exp(-At(c.k, s) * T)) * std::exp(-At(c.m, s) * T);
      },
      0, 100);
}

int FirstAgeWithClassicalStand(int species, double S, int from, int to) {
  int age = from;
  while (age < to && !(YieldTableBasalArea(species, age, S) > 0)) ++age;
  return age;
}

double YieldTableStemNumber(int species, double T, double S) {
  return ClampedInitialState(
      [&] {
        const double s = ClampToSiteClassLimits(species, S);
        const StemNumberCoefficients& c = kStemNumber[Regime(species, s)];
        double X = At(c.u, s) * T;
        if (!IsZero(c.v)) X += At(c.v, s) * std::log(T);
        return c.q / std::pow(X, At(c.p, s)) + c.r;
      },
      0, 25000);
}

}  // namespace orven
