#pragma once

#include "model/ParameterStore.h"

namespace orven {

// The dynamic stand growth model of one parameter store, in its two versions:
// the growth-rate model (site parameter A0) and the site-index model (site
// parameter: dominant height at age 50). Units: heights m, basal area m2/ha,
// stem number per ha, ages years.
//
// The increment functions return the sentinel for negative arguments and do
// not catch floating-point faults (the caller's per-year guard does); the
// height-age curve catches its own. A species code outside 0..6 has no
// coefficients: every routine then returns the sentinel.
class GrowthModel {
public:
  explicit GrowthModel(const ParameterStore& store, double growthCorrection = 1.0)
      : store_(&store), growthCorrection_(growthCorrection) {}

  const ParameterStore& Store() const { return *store_; }
  double GrowthCorrection() const { return growthCorrection_; }
  void SetGrowthCorrection(double factor) { growthCorrection_ = factor; }

  double HdomIncrementA0(int species, double Hdom, double G, double A0) const;
  double BasalAreaIncrementA0(int species, double G, double Hdom, double A0) const;
  double StemNumberChangeA0(int species, double N, double Hdom) const;
  double HdomIncrementSI(int species, double Hdom, double G, double SI) const;
  double BasalAreaIncrementSI(int species, double G, double Hdom, double SI) const;
  double StemNumberChangeSI(int species, double N, double Hdom) const;

  // Dominant height at `age` of the stand whose dominant height is
  // referenceHeight at referenceAge; the sentinel when the curve fails.
  double DominantHeightAtAge(int species, double age, double referenceAge,
                             double referenceHeight) const;

  double HgFromHdom(int species, double Hdom) const;
  double HdomFromHg(int species, double Hg) const;
  double HdomAfterThinning(int species, double Dbefore, double Dafter, double HdomBefore) const;

  double MaxSiteIndex(int species) const;

private:
  const ParameterStore* store_;
  double growthCorrection_;
};

// Fills store.MaxSiteIndex: for each present species the last site index on
// the grid 4.1, 4.2, ... at which the height-age curve of reference age 50
// still works, or 100 when it works up to 100; 0 for absent species.
void ComputeMaxSiteIndex(ParameterStore& store);

// Reads the parameter file as the program does at start-up: the species list
// gets its items in code order and every species its highest site index.
ParameterFileResult ReadParametersAtStartUp(ParameterStore& store, const std::string& path,
                                            Language language);

}  // namespace orven
