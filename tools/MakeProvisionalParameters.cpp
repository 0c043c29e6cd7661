// make-provisional-parameters OUTPUT_PATH
//
// Writes ORVEN's provisional parameter data file: one record for every
// coefficient the growth model reads, for all seven species. The coefficients
// are chosen by hand to give plausible stands until a calibration against
// measured stands replaces them; data/OrvenPar.drc is this program's output
// and a test keeps the two identical.
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
//
// Checked by simulating the one-year steps from the classical yield table's
// state at the table start age (20, or the first year past mean height 2 m),
// unthinned and with a light thinning (10 % of G, 15 % of N every 5 years).
// Dominant height at 50 years, for the site-index range of the data (site-
// index model started on the height-age curve; growth-rate model with the A0
// of that site index; growth-rate model at the top of the A0 search range),
// and the unthinned basal area at 50 / 100 / 150 years and stems per hectare
// at 20 / 50 / 100 years of a middle site:
//   species        SI range      SI model      A0 at SI range   A0 model     A0 top  G (m2/ha)  N
//   beech          11.7 .. 28.4  10.1 .. 27.1  0.0201 .. 0.0441 13.7 .. 27.2  29.1   33/41/45   5876/2056/982
//   oak            11.1 .. 25.0  10.9 .. 23.8  0.0457 .. 0.1087 11.7 .. 23.3  26.4   26/36/41   5088/1776/855
//   ash            16.6 .. 27.5  17.3 .. 26.2  0.0686 .. 0.1166 18.7 .. 26.0  28.4   23/32/36   1569/544/264
//   Norway spruce   9.9 .. 30.3   8.8 .. 27.8  0.0055 .. 0.0136  7.0 .. 27.6  28.0   48/61/68   5257/2393/1240
//   Sitka spruce   14.3 .. 30.0  14.1 .. 28.6  0.0153 .. 0.0283 15.6 .. 28.1  28.4   42/59/68   5021/2291/1182
//   Douglas fir    20.3 .. 31.1  20.9 .. 29.2  0.0867 .. 0.1353 21.0 .. 28.7  30.1   47/61/68   4170/1896/984
//   silver fir      6.0 .. 36.5   4.7 .. 34.1  0.0118 .. 0.0444  5.2 .. 34.7  34.8   48/62/69   6159/2833/1442
// (ash's range is that of its yield table's site classes 1-4.) Basal-area
// increments stay within 0.06-2.1 m2/ha/yr, stem numbers only fall, and the
// height-age curve works at reference age 50 for every reference height from
// 4.1 to 100 m. At the ends of the site-index range the height at 50 misses
// the site index by up to 3 m: one increment shape cannot follow every curve
// of the family.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "model/ParameterStore.h"
#include "HandChosenCoefficients.h"

namespace {

using namespace orven::tools;

using orven::ParameterRecord;


struct Group {
  int group;
  int firstItem;
  const double* values;
  int count;
};

std::vector<Group> GroupsOf(const SpeciesCoefficients& s) {
  return {
      {1, 3, s.heightA0, 3},     {2, 1, s.basalAreaA0, 6}, {3, 1, s.stemNumberA0, 3},
      {4, 1, s.heightAge, 3},    {5, 1, s.hdomFromHg, 2},  {6, 1, s.thinning, 2},
      {7, 1, s.soil, 2},         {11, 1, s.heightSI, 5},   {12, 1, s.basalAreaSI, 6},
      {13, 1, s.stemNumberSI, 3},
  };
}

std::string EncodeAll() {
  std::string bytes;
  for (const SpeciesCoefficients& s : HandChosen) {
    for (const Group& g : GroupsOf(s)) {
      for (int i = 0; i < g.count; ++i) {
        ParameterRecord record;
        record.Species = s.code;
        record.Group = g.group;
        record.Item = g.firstItem + i;
        record.Value = g.values[i];
        record.NameDK = s.nameDK;
        record.NameUK = s.nameUK;
        record.ScientificName = s.scientificName;
        bytes += orven::EncodeParameterRecord(record);
      }
    }
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make-provisional-parameters OUTPUT_PATH\n";
    return 2;
  }
  const std::string bytes = EncodeAll();
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  // A half-written file must not pass for the data file.
  if (!out) {
    std::cerr << "make-provisional-parameters: cannot write " << argv[1] << "\n";
    std::remove(argv[1]);
    return 1;
  }
  return 0;
}
