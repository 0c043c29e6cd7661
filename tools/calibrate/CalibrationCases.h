#pragma once

// The stands the calibration is judged on, and the figures measured on the
// tables the program computes for them.

#include <array>
#include <vector>

#include "model/GrowthModel.h"
#include "site/SiteState.h"

namespace orven::calibrate {

// Species-specific bounds of the targets.
struct SpeciesBounds {
  double SImin, SImax;  // site indices of the data behind the models, m
  double GUpper;        // upper end of the data's basal areas, m2/ha
  int TopSiteClass;     // classical site classes 1 .. this are accepted without warning
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

// The states the increment is judged at: ages 20-100 every 10 years by age,
// 30-80 by density.
constexpr int GrowthFromAge = 20, GrowthToAge = 100, GrowthStep = 10;
constexpr int DensityFromAge = 30, DensityToAge = 80;
constexpr double GrowthRatioLow = 0.67, GrowthRatioHigh = 1.5;
constexpr double DenserShare = 1.25, DenserLow = 0.8, DenserHigh = 1.2;
constexpr double ThinnerShare = 0.75, ThinnerLow = 0.7, ThinnerHigh = 1.1;
// Inventories taken from the classical tables, ages 20-60 every 5 years.
constexpr int InventoryFromAge = 20, InventoryToAge = 60, InventoryStep = 5;
constexpr double ReadBackTolerance = 1;  // site classes

// One stand: a classical site class given at 50 years, as a forester types it.
struct SiteCase {
  int species;
  int siteClass;
  int startAge;       // the start age the program suggests
  double siteIndex;   // the site index the program derives, m
  double yieldClass;  // the classical yield class, m3/ha/yr
  std::vector<ClassicalGrowth> classicalGrowth;  // the ages of GrowthFromAge..GrowthToAge with a classical stand
  // Inventories of the classical stand, each before and after its thinning.
  InventoryRecords classicalInventories{};
  // The regime that holds the stand at the classical basal areas: the
  // classical G at the first thinning (the start age) and at 120 years.
  double classicalGStart = 0, classicalGEnd = 0;
};
SiteCase MakeCase(const GrowthModel& model, int species, int siteClass);
std::vector<SiteCase> CasesOf(const GrowthModel& model, int species);

constexpr int ThinnedEndAge = 150, UnthinnedEndAge = 200;
constexpr int ClassicalRegimeEndAge = 120;
constexpr double CapShareAt120 = 1.3, CapShareAt200 = 1.5;  // of the data's largest basal area
constexpr int HeightFromAge = 30, HeightToAge = 120;
constexpr double HeightAt50Tolerance = 1.5;                       // m
constexpr double HgRelativeTolerance = 0.12, HgAbsoluteTolerance = 1.5;  // share, m
constexpr double ProductionTolerance = 0.15;
constexpr double SiteIndexRoundTripTolerance = 0.5;  // m

// The model's increment at one classical state, both versions, against the
// classical gross growth, and at 1.25 and 0.75 of the classical basal area
// against that at the classical one (0 outside the density ages).
struct GrowthFigure {
  int age = 0;
  double G = 0, gross = 0;
  double ratioSI = 0, ratioA0 = 0;
  double denserSI = 0, denserA0 = 0, thinnerSI = 0, thinnerA0 = 0;
  bool densityAge = false;
};
std::vector<GrowthFigure> MeasureGrowth(const GrowthModel& model, const SiteCase& c, double A0);

// Figures of the table thinned to the classical basal areas (start age to
// 150) and of the unthinned one (start age to 200).
struct CaseFigures {
  bool thinnedComputed = false;  // every height compared exists
  double hd50 = 0;               // HD1 at 50 years
  double hgMiss = 0;             // Hg1 - classical Hg where |miss| / allowance is largest
  double hgMissShare = 0;        // that |miss| / allowance (1 = at the tolerance)
  int hgMissAge = 0;
  double hgMeanSquareShare = 0;  // mean of (miss / allowance)^2 over the compared ages
  bool classicalComputed = false;  // every cell of the thinned table compared exists
  double maiMax = 0;             // largest mdV/dt and where it is reached
  int maiAge = 0;
  double maiAt150 = 0, maiAt130 = 0;

  bool unthinnedComputed = false;  // N1 and G1 positive numbers in every row
  bool stemNumberNeverRises = false;
  double gMax = 0;    // largest G1 of the unthinned table
  double gMax120 = 0; // largest G1 of the unthinned table up to 120 years
  double nAt200 = 0;  // N1 at 200 years
  double rsMin = 0;   // smallest relative spacing RTA1 of the unthinned table, %
  double mortalityThinned = 0;  // largest yearly loss of stems to self-thinning in the thinned table, share

  double A0 = 0;  // A0FromSiteIndex of the site index
  std::vector<GrowthFigure> growth;
  double readBackClass = 0;  // the class the classical inventories read as; below -10 when none
};

// bothVersions: also the growth-rate model at A0FromSiteIndex of the site
// index, and the inventories read through the program's inventory method.
// The fits leave both out (they tie the growth-rate model to the other
// afterwards) and read the inventories with the site-index model.
CaseFigures Measure(const ParameterStore& store, const SiteCase& c, bool bothVersions = true);

// The verdicts of targets 2 to 7 for one case.
enum Target { ByAge, ByDensity, ReadBack, Production, HeightAt50, MeanHeight, Cap, TargetCount };
std::array<bool, TargetCount> TargetVerdicts(const SiteCase& c, const CaseFigures& f);
bool GrowthByAgeHolds(const CaseFigures& f);
bool DensityResponseHolds(const CaseFigures& f);
bool ReadBackHolds(const SiteCase& c, const CaseFigures& f);
bool ProductionHolds(const SiteCase& c, const CaseFigures& f);
bool HeightAt50Holds(const SiteCase& c, const CaseFigures& f);
bool MeanHeightHolds(const CaseFigures& f);
bool CapHolds(const SiteCase& c, const CaseFigures& f);

// The largest basal areas of the unthinned stand to 120 and to 200 years,
// stepped with the increments alone from the classical state at the start
// age (site-index model). Height and basal area do not depend on the stem
// number, so no table is needed; the fits use it where tables cost too much.
struct UnthinnedBasalArea {
  double to120 = 0, to200 = 0;
};
UnthinnedBasalArea QuickUnthinnedBasalArea(const GrowthModel& model, const SiteCase& c);

// Whether every stand of site classes 1-3 holds the target.
bool TargetHoldsForBetterClasses(const std::vector<SiteCase>& cases, const std::vector<CaseFigures>& figures,
                                 Target target);

// Whether the figures a meet the targets better than b: target by target in
// the order of priority, by the stands of site classes 1-3 that hold, then by
// all that hold; the first difference decides, so a lower target never
// outweighs one above it.
bool MeetsTargetsBetter(const std::vector<SiteCase>& cases, const std::vector<CaseFigures>& a,
                        const std::vector<CaseFigures>& b);

// The site class the program reads from the case's classical inventories
// (site method 0); below -10 when it reads none.
double ClassFromInventories(const GrowthModel& model, const SiteCase& c);

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
