#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "model/FloatFault.h"
#include "model/ParameterStore.h"
#include "model/Sentinel.h"
#include "projection/ProjectionEngine.h"
#include "projection/ProjectionTables.h"
#include "projection/StandSettings.h"
#include "projection/ThinningRegime.h"

namespace orven::test {

// Beech with plausible coefficients: from the classical yield table's state
// at 20 years a site-index-24 stand reaches about 33 m at 100 years. The
// growth-rate model's height increment equals the site-index model's when
// A0 = P60 + P61 SI.
inline ParameterStore BeechStore() {
  ParameterStore store;
  store.SpeciesTable[Beech].Present = true;
  SpeciesParameters& P = store.ModelParameters[Beech];
  const struct {
    int first;
    std::initializer_list<double> values;
  } groups[] = {
      {2, {2.062, -0.1816, -0.003}},                        // height, growth-rate model
      {6, {0.0, 39.5, 0.6, -0.0709, -0.0583, 1.0}},         // basal area, growth-rate model
      {12, {0.000856, 2.0, 0.002}},                         // stem number, growth-rate model
      {18, {1.7559, 3968.565, 36.709}},                     // height-age curve
      {24, {1.04, 1.6}},                                    // Hdom = 1.04 Hg + 1.6
      {30, {0.06, 0.02}},                                   // dominant height after thinning
      {60, {0.0032, 0.001441, 2.062, -0.1816, -0.003}},     // height, site-index model
      {66, {0.1264, 0.056919, 0.6, -0.0709, -0.0583, 1.0}}, // basal area, site-index model
      {72, {0.000856, 2.0, 0.002}},                         // stem number, site-index model
  };
  for (const auto& g : groups) {
    int k = g.first;
    for (double v : g.values) P[k++] = v;
  }
  return store;
}

// A beech table from 20 to 100 years, no thinning ages and no typed values
// until a test sets them.
class ProjectionFixture : public ::testing::Test {
public:
  ProjectionFixture() {
    stand.Store = &store;
    stand.Species = Beech;
    stand.Site.SiteIndex = 24;
    stand.Site.SiteClass = 2;
    tables.TableStartAge = 20;
    tables.TableEndAge = 100;
  }

  void SetThinningAges(std::initializer_list<int> ages) {
    tables.ThinAges.fill(-1);
    tables.ThinAgeCount = 0;
    tables.ThinAgeSet.reset();
    tables.IsThinYear.fill(false);
    for (int age : ages) {
      tables.ThinAges[tables.ThinAgeCount++] = age;
      if (age <= 255) tables.ThinAgeSet.set(age);
      if (age >= tables.TableStartAge && age <= tables.TableEndAge)
        tables.IsThinYear[age - tables.TableStartAge] = true;
    }
  }

  void Type(int variable, int age, double value) {
    tables.SetTyped(variable, Index(age), value);
  }

  bool Project() {
    tables.ClearComputedValues();
    return ProjectTable(tables, regime, stand);
  }

  int Index(int age) const { return age - tables.TableStartAge; }
  double At(int variable, int age) const { return tables.Value(variable, Index(age)); }

  // No NaN or infinity anywhere in the table.
  void ExpectAllFinite() const {
    for (int k = 0; k < VariableRows; ++k)
      for (int i = 0; i < YearSlots; ++i)
        ASSERT_TRUE(std::isfinite(tables.StandTable[k][i])) << "variable " << k << ", year " << i;
  }

  ParameterStore store = BeechStore();
  ProjectionTables tables;
  RegimeSettings regime;
  StandSettings stand;
};

}  // namespace orven::test
