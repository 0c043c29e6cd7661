#pragma once

// The stands the calibration is judged on, and the figures measured on the
// tables the program computes for them.

#include <vector>

#include "model/GrowthModel.h"
#include "site/SiteState.h"

namespace orven::calibrate {

// Species-specific bounds of the targets.
struct SpeciesBounds {
  double SImin, SImax;  // site indices of the data behind the models, m
  double GUpper;        // upper end of the data's basal areas, m2/ha
  int TopSiteClass;     // classical site classes 1 .. this are accepted without warning
  double HeavyTargetG;  // target basal area of the standard "Heavy thinning" regime
};
const SpeciesBounds& BoundsFor(int species);

// The gross basal-area growth of the classical thinned stand in one year:
// the rise of the remaining stand's basal area plus what the year's
// thinning takes, the removed stems taken at ThinnedDiameterShare of the
// quadratic mean diameter (a thinning from below).
struct ClassicalGrowth {
  int age;
  double G, Hdom;       // state of the classical stand, m2/ha and m
  double grossGrowth;   // m2/ha in the following year
};
constexpr double ThinnedDiameterShare = 0.8;

// One stand: a classical site class given at 50 years, as a forester types it.
struct SiteCase {
  int species;
  int siteClass;
  int startAge;       // the start age the program suggests
  double siteIndex;   // the site index the program derives, m
  double yieldClass;  // the classical yield class, m3/ha/yr
  std::vector<ClassicalGrowth> classicalGrowth;  // every 5 years from 30 (or the start) to 120
  // Three inventories of the classical stand five years apart from 30 years
  // (or the start), each before and after that period's thinning.
  InventoryRecords classicalInventories{};
};
SiteCase MakeCase(const GrowthModel& model, int species, int siteClass);
std::vector<SiteCase> CasesOf(const GrowthModel& model, int species);

constexpr int ThinnedEndAge = 150, UnthinnedEndAge = 200;
constexpr int HeightFromAge = 30, HeightToAge = 120;
constexpr double HeightAt50Tolerance = 1.5;                       // m
constexpr double HgRelativeTolerance = 0.12, HgAbsoluteTolerance = 1.5;  // share, m
constexpr double ProductionTolerance = 0.15;
constexpr double SiteIndexRoundTripTolerance = 0.5;  // m

// Figures of the heavily thinned table (start age to 150) and of the
// unthinned one (start age to 200).
struct CaseFigures {
  bool thinnedComputed = false;  // every compared cell of the thinned table exists
  double hd50 = 0;               // HD1 at 50 years
  double hgMiss = 0;             // Hg1 - classical Hg where |miss| / allowance is largest
  double hgMissShare = 0;        // that |miss| / allowance (1 = at the tolerance)
  int hgMissAge = 0;
  double hgMeanSquareShare = 0;  // mean of (miss / allowance)^2 over the compared ages
  double maiMax = 0;             // largest mdV/dt and where it is reached
  int maiAge = 0;
  double maiAt150 = 0, maiAt130 = 0;

  bool unthinnedComputed = false;  // N1 and G1 positive numbers in every row
  bool stemNumberNeverRises = false;
  double gMax = 0;    // largest G1 of the unthinned table
  double nAt200 = 0;  // N1 at 200 years
  double rsMin = 0;   // smallest relative spacing RTA1 of the unthinned table, %
  double mortalityThinned = 0;  // largest yearly loss of stems to self-thinning in the thinned table, share
};

CaseFigures Measure(const ParameterStore& store, const SiteCase& c);

// The verdicts of targets 2 to 4 for one case.
bool HeightsHold(const SiteCase& c, const CaseFigures& f);
bool ProductionHolds(const SiteCase& c, const CaseFigures& f);
bool DensityHolds(const SiteCase& c, const CaseFigures& f);

// Yearly growth of the classical dominant height where it passes hdom; 0
// when the class does not reach hdom within the tables' ages.
double ClassicalHdomGrowth(const GrowthModel& model, int species, int siteClass, double hdom);

// Target 1 for one species: the growth-rate parameter of every site index of
// the data range, and the site index of the keyed-in preset.
struct SiteScaleFigures {
  std::vector<double> siteIndices, rates, roundTrips;  // A0FromSiteIndex, SiteIndexFromA0 of it
  double presetRate = 0, presetSiteIndex = 0;
  bool presetExempt = false;  // oak's preset lies outside its search range on purpose
  bool holds = false;
};
SiteScaleFigures MeasureSiteScale(const GrowthModel& model, int species);

}  // namespace orven::calibrate
