#pragma once

// The species' names in the data file, and the hand-chosen coefficients the
// calibration starts from.
// The calibration keeps groups 5 (mean and dominant height) and 6 (dominant
// height after thinning) as they stand here: the classical tables give mean
// heights only and nothing on the effect of a thinning.
//
// Where the values come from:
//  - Group 4 (height-age curve b, beta, d) is the envelope curve of the data
//    ranges where that curve is non-zero. Ash has no envelope: it borrows
//    oak's b and beta, with d = 33.6 fitted to the dominant heights of the
//    classical ash yield table (site classes 1-4, ages 15-100). Sitka spruce's
//    envelope (beta = -1891.73, d = 37.99) fails for reference heights between
//    32.9 and 43.8 m, so the highest usable site index would stop at 32.9;
//    beta = 1 with d = 37.5 follows that curve to within 0.3 m for site
//    indices 14-30 and ages 15-100, and works for every height.
//  - Groups 1 and 11 (dominant-height increment) share one shape,
//    rate * Hdom^c * exp(k*Hdom - 0.003*G), fitted year by year to the
//    height-age curves over the species' site-index range of the data
//    (ages 15/20-100). The site-index model's rate is linear in the site
//    index, P60 + P61*SI, positive above SI = 1 m, and the growth-rate model's
//    A0 is that same rate. The two versions therefore agree along
//    A0 = P60 + P61*SI, which makes the conversion between A0 and site index
//    in the site estimation exact. The scale of the rate puts the site index
//    range of the data inside the A0 search range, with its upper end near the
//    top of that range (Douglas fir's narrow range: near both ends).
//  - Groups 2 and 12 (basal-area increment) share the shape
//    G^0.6 * exp(P9*G + P10*Hdom); the site enters through the A0 rate
//    (P66 = P6 + P7*P60, P67 = P7*P61). Aimed at unthinned basal areas at 50
//    years of about 28-37 m2/ha (beech), 22-30 (oak), 20-28 (ash) and 42-60
//    (conifers) from poor to good sites, and about 40 (beech), 32 (oak),
//    29 (ash) and 58-64 m2/ha (conifers) at 100 years on a middle site.
//  - Groups 3 and 13 (stem-number change) are one self-thinning rule; the
//    exponent 2 on density keeps mortality in thinned stands low (about
//    0.15 %/yr) while unthinned stands lose about half their stems by 50
//    years and three quarters to four fifths by 100.
//  - Group 5: Hdom = P24*Hg + P25, Hdom 1.5-3 m above Hg at Hg 10-30 m,
//    the larger differences in the broadleaves.
//  - Group 6: a small effect; a thinning that changes the quadratic mean
//    diameter by 10 % moves the dominant height by 0.8 %.
//  - Group 7: A0 = P36 * (1 + coarse sand %)^P37. For 0-60 % coarse sand
//    this gives site indices of about 24 m for beech whatever the sand,
//    24 -> 26 m for Sitka spruce, and falling ones for the others: oak
//    22 -> 16, ash 26 -> 18, Norway spruce 26 -> 18, Douglas fir 28 -> 23,
//    silver fir 26 -> 18; all within the A0 search ranges.

#include "model/ParameterStore.h"

namespace orven::calibrate {

struct SpeciesCoefficients {
  int code;
  const char* nameDK;
  const char* nameUK;
  const char* scientificName;
  double heightA0[3];     // group 1, items 3-5: P2..P4
  double basalAreaA0[6];  // group 2, items 1-6: P6..P11
  double stemNumberA0[3]; // group 3, items 1-3: P12..P14
  double heightAge[3];    // group 4, items 1-3: P18..P20 (b, beta, d)
  double hdomFromHg[2];   // group 5, items 1-2: P24, P25
  double thinning[2];     // group 6, items 1-2: P30, P31
  double soil[2];         // group 7, items 1-2: P36, P37
  double heightSI[5];     // group 11, items 1-5: P60..P64
  double basalAreaSI[6];  // group 12, items 1-6: P66..P71
  double stemNumberSI[3]; // group 13, items 1-3: P72..P74
};

// clang-format off
inline constexpr SpeciesCoefficients Starting[] = {
  {0, "Bøg", "Beech", "Fagus sylvatica",
   {2.062, -0.1816, -0.003},
   {0.0, 39.5, 0.6, -0.0709, -0.0583, 1.0},
   {0.000856, 2.0, 0.002},
   {1.7559, 3968.565, 36.709},
   {1.04, 1.6},
   {0.06, 0.02},
   {0.038, 0.0},
   {0.0032, 0.001441, 2.062, -0.1816, -0.003},
   {0.1264, 0.056919, 0.6, -0.0709, -0.0583, 1.0},
   {0.000856, 2.0, 0.002}},
  {1, "Eg", "Oak", "Quercus robur",
   {1.624, -0.1895, -0.003},
   {0.0, 5.96, 0.6, -0.0703, -0.0316, 1.0},
   {0.00102, 2.0, 0.002},
   {1.627, 1.0, 31.9543},
   {1.04, 1.5},
   {0.06, 0.02},
   {0.095, -0.082},
   {-0.00453, 0.00453, 1.624, -0.1895, -0.003},
   {-0.026999, 0.026999, 0.6, -0.0703, -0.0316, 1.0},
   {0.00102, 2.0, 0.002}},
  {2, "Ask", "Ash", "Fraxinus excelsior",
   {1.557, -0.1729, -0.003},
   {0.0, 9.8, 0.6, -0.07, -0.0635, 1.0},
   {0.00348, 2.0, 0.002},
   {1.627, 1.0, 33.6},
   {1.03, 1.5},
   {0.06, 0.02},
   {0.11, -0.094},
   {-0.0044, 0.0044, 1.557, -0.1729, -0.003},
   {-0.04312, 0.04312, 0.6, -0.07, -0.0635, 1.0},
   {0.00348, 2.0, 0.002}},
  {3, "Rødgran", "Norway spruce", "Picea abies",
   {3.054, -0.2648, -0.003},
   {0.338, 96.4, 0.6, -0.0515, -0.0434, 1.0},
   {0.000613, 2.0, 0.002},
   {2.029, 6650.961, 32.4984},
   {1.02, 1.3},
   {0.06, 0.02},
   {0.0119, -0.075},
   {0.00162, 0.000395, 3.054, -0.2648, -0.003},
   {0.494168, 0.038078, 0.6, -0.0515, -0.0434, 1.0},
   {0.000613, 2.0, 0.002}},
  {4, "Sitkagran", "Sitka spruce", "Picea sitchensis",
   {2.514, -0.2151, -0.003},
   {0.793, 4.08, 0.6, -0.0566, -0.0149, 1.0},
   {0.00064, 2.0, 0.002},
   {2.1681, 1.0, 37.5},
   {1.02, 1.5},
   {0.06, 0.02},
   {0.0233, 0.017},
   {0.00333, 0.000831, 2.514, -0.2151, -0.003},
   {0.806586, 0.00339, 0.6, -0.0566, -0.0149, 1.0},
   {0.00064, 2.0, 0.002}},
  {5, "Douglasgran", "Douglas fir", "Pseudotsuga menziesii",
   {1.402, -0.1324, -0.003},
   {0.0, 10.47, 0.6, -0.0422, -0.0501, 1.0},
   {0.000771, 2.0, 0.002},
   {1.7559, 3968.565, 36.709},
   {1.03, 1.6},
   {0.06, 0.02},
   {0.1215, -0.05},
   {-0.0045, 0.0045, 1.402, -0.1324, -0.003},
   {-0.047115, 0.047115, 0.6, -0.0422, -0.0501, 1.0},
   {0.000771, 2.0, 0.002}},
  {6, "Alm. ædelgran", "Silver fir", "Abies alba",
   {2.033, -0.1448, -0.003},
   {0.822, 13.87, 0.6, -0.062, -0.0142, 1.0},
   {0.000502, 2.0, 0.002},
   {2.1496, 131056.3, 20.4787},
   {1.03, 1.5},
   {0.06, 0.02},
   {0.0332, -0.073},
   {0.00538, 0.001068, 2.033, -0.1448, -0.003},
   {0.896621, 0.014813, 0.6, -0.062, -0.0142, 1.0},
   {0.000502, 2.0, 0.002}},
};
// clang-format on

// Element k of a species' row is item k % 6 + 1 of group k / 6 + 1.
inline void Load(SpeciesParameters& P, const SpeciesCoefficients& s) {
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

}  // namespace orven::calibrate
