#pragma once

#include "model/GrowthModel.h"
#include "model/ParameterStore.h"
#include "site/SiteSearch.h"

namespace orven::test {

// A parameter store with made-up coefficients for every species, chosen so
// that the two model versions grow in height with the same shape: the height
// increments agree exactly when A0 = P60 + P61 * SI. The rate maps site
// indices 10..40 onto the species' A0 search range, so the searches have
// known answers: A0FromSiteIndex(SI) = SiteRate(SI).
inline void SetSiteCoefficients(ParameterStore& store, int species) {
  const SiteBuiltIns& range = SiteBuiltInsFor(species);
  store.SpeciesTable[species].Present = true;
  SpeciesParameters& P = store.ModelParameters[species];
  P[2] = 1.5; P[3] = -0.05; P[4] = -0.01;                                    // height, A0
  P[6] = 0.2; P[7] = 20; P[8] = 0.5; P[9] = -0.02; P[10] = -0.05; P[11] = 1;  // basal area, A0
  P[12] = 0.01; P[13] = 1.5; P[14] = 0.001;                                  // stem number
  P[18] = 1.3; P[19] = 2000; P[20] = 30;                                     // height-age curve
  P[24] = 1.05; P[25] = 1.5;                                                 // Hdom = 1.05 Hg + 1.5
  P[36] = 0.01; P[37] = 0.2;                                                 // soil texture
  P[61] = (range.A0SearchMax - range.A0SearchMin) / 30;
  P[60] = range.A0SearchMin - 10 * P[61];
  P[62] = P[2]; P[63] = P[3]; P[64] = P[4];
  P[66] = 0.3; P[67] = 0.02; P[68] = 0.5; P[69] = -0.02; P[70] = -0.05; P[71] = 1;
  P[72] = 0.01; P[73] = 1.5; P[74] = 0.001;
}

inline ParameterStore SiteTestStore() {
  ParameterStore store;
  for (int species = 0; species < SpeciesCount; ++species) SetSiteCoefficients(store, species);
  ComputeMaxSiteIndex(store);
  return store;
}

inline double SiteRate(const ParameterStore& store, int species, double SI) {
  return store.P(species, 60) + store.P(species, 61) * SI;
}

}  // namespace orven::test
