#pragma once

#include "model/GrowthModel.h"

namespace orven {

// Checks of table values against the data behind the models. Variable codes
// are catalogue indices: 0 age, 1..5 HD1 Hg1 D1 N1 G1 (before thinning),
// 19..23 HD3 Hg3 D3 N3 G3 (remaining stand).

// True when the value is outside the species' fixed range of its variable.
bool OutsideDataRange(const GrowthModel& model, int code, int species, double value);

// True when the value is outside the envelope of the data, given the age T and
// dominant height HD of the same table row.
bool OutsideModelData(const GrowthModel& model, int species, int code, double T, double HD,
                      double value);

bool SiteIndexOutsideData(int species, double age, double Hdom);

// The site indices (SImin, SImax) and the largest basal area of the data
// behind the species' models; ash's site-index range is not known (0, 0).
struct SiteIndexRange {
  double lo, hi;
};
SiteIndexRange DataSiteIndexRange(int species);
double DataBasalAreaUpper(int species);
bool DiameterOutsideData(int species, double D, double HD);
bool BasalAreaOutsideData(int species, double G, double HD);

}  // namespace orven
