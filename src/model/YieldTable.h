#pragma once

namespace orven {

// Built-in model of the classical yield tables: site class S (continuous,
// 1 = best), yield class Y (m3/ha), age T (years), mean height Hg (m). Any
// species code outside 0..6 is treated as beech. Failures give the sentinel.

// Norway spruce has two coefficient sets, split at this site class.
inline constexpr double NorwaySpruceSiteClassSplit = 3.22999;
inline constexpr double NorwaySpruceYieldClassSplit = 12.2563646069316;

double YieldTableHg(int species, double T, double S);
double YieldTableAgeAtHg(int species, double Hg, double S);
double SiteClassFromHg(int species, double Hg, double T);
double YieldClassFromHg(int species, double Hg, double T);
double SiteClassFromYieldClass(int species, double Y);
double YieldClassFromSiteClass(int species, double S);

struct SiteClassRange {
  double lo;
  double hi;
};
SiteClassRange SiteClassLimits(int species);

// First-year state of the yield table, with S clamped into SiteClassLimits and
// the result clamped into [1, 200] cm, [0, 100] m2/ha and [0, 25000] per ha.
double YieldTableDiameter(int species, double T, double S);
double YieldTableBasalArea(int species, double T, double S);
double YieldTableStemNumber(int species, double T, double S);

// The first whole age from `from` to `to` at which the yield table has a
// stand (a positive basal area); `to` when there is none before it.
int FirstAgeWithClassicalStand(int species, double S, int from, int to);

}  // namespace orven
