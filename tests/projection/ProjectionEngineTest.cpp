#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "ProjectionFixture.h"
#include "catalogue/VariableCatalogue.h"
#include "model/GrowthModel.h"
#include "model/YieldTable.h"
#include "projection/ThinningSolver.h"

namespace orven {
namespace {

using test::ProjectionFixture;

constexpr double QuarterPiExact = std::numbers::pi / 4;

double BasalArea(double N, double D) { return N * QuarterPiExact * (D / 100) * (D / 100); }
double RelativeSpacing(double N, double Hg) { return 10000 / (std::sqrt(N) * Hg); }

// ---------------------------------------------------------------------------
// The first year

constexpr int FirstYearInputs[] = {HD1, Hg1, D1, N1, G1, RTA1};

// Typed values that agree neither with each other nor with the yield table
// (which gives HD1 8.1, Hg1 6.2, D1 5.3, N1 5907, G1 13.1, RTA1 20.9).
double TypedFirstYearValue(int variable) {
  switch (variable) {
    case HD1: return 9.5;
    case Hg1: return 8.0;
    case D1: return 7.0;
    case N1: return 4000;
    case G1: return 17.0;
    default: return 18.0;  // RTA1
  }
}

bool Contains(const std::vector<int>& set, int v) { return std::ranges::find(set, v) != set.end(); }

// At most three values, none of the sets that determine the stand twice.
std::vector<std::vector<int>> AllowedFirstYearCombinations() {
  std::vector<std::vector<int>> result;
  for (int mask = 0; mask < 64; ++mask) {
    std::vector<int> typed;
    for (int k = 0; k < 6; ++k)
      if (mask & (1 << k)) typed.push_back(FirstYearInputs[k]);
    const auto has = [&](int v) { return Contains(typed, v); };
    const bool overDetermined = (has(HD1) && has(Hg1)) || (has(D1) && has(N1) && has(G1)) ||
                                (has(N1) && has(RTA1) && (has(HD1) || has(Hg1)));
    if (typed.size() <= 3 && !overDetermined) result.push_back(typed);
  }
  return result;
}

class FirstYearTest : public ProjectionFixture,
                      public ::testing::WithParamInterface<std::vector<int>> {};

TEST_P(FirstYearTest, CompletionKeepsTypedValuesAndMakesTheStandConsistent) {
  const std::vector<int>& typed = GetParam();
  for (int v : typed) Type(v, 20, TypedFirstYearValue(v));
  EXPECT_TRUE(Project());

  for (int v : typed) EXPECT_EQ(At(v, 20), TypedFirstYearValue(v)) << SymbolOf(v, Language::English);
  const double HD = At(HD1, 20), Hg = At(Hg1, 20), D = At(D1, 20), N = At(N1, 20), G = At(G1, 20);
  EXPECT_NEAR(G, BasalArea(N, D), 1e-12 * G);
  EXPECT_NEAR(At(RTA1, 20), RelativeSpacing(N, Hg), 1e-12 * At(RTA1, 20));
  const GrowthModel model(store);
  if (!Contains(typed, HD1))
    EXPECT_EQ(HD, model.HdomFromHg(Beech, Hg));
  else
    EXPECT_EQ(Hg, model.HgFromHdom(Beech, HD));
  EXPECT_NEAR(At(F1, 20) * G * Hg, At(V1, 20), 1e-9 * At(V1, 20));
  EXPECT_GT(At(V1, 20), 0);
}

std::string CombinationName(const ::testing::TestParamInfo<std::vector<int>>& info) {
  std::string name = info.param.empty() ? "Nothing" : "";
  for (int v : info.param) name += SymbolOf(v, Language::Danish);
  return name + "Typed";
}

INSTANTIATE_TEST_SUITE_P(EveryAllowedCombination, FirstYearTest,
                         ::testing::ValuesIn(AllowedFirstYearCombinations()), CombinationName);

class ProjectionEngineTest : public ProjectionFixture {};

TEST_F(ProjectionEngineTest, TheYieldTableSuppliesWhatIsNotTyped) {
  const double S = stand.Site.SiteClass;
  Project();
  EXPECT_EQ(At(G1, 20), YieldTableBasalArea(Beech, 20, S));
  EXPECT_EQ(At(N1, 20), YieldTableStemNumber(Beech, 20, S));
  EXPECT_EQ(At(Hg1, 20), YieldTableHg(Beech, 20, S));

  // A typed stem number keeps the yield table's diameter; the basal area follows.
  Type(N1, 20, 4000);
  Project();
  EXPECT_NEAR(At(D1, 20), YieldTableDiameter(Beech, 20, S), 1e-12 * At(D1, 20));
}

TEST_F(ProjectionEngineTest, SpacingWithOneHeightFixesTheStemNumberAndKeepsTheMeanTree) {
  Project();
  const double yieldTableD1 = At(D1, 20);
  const GrowthModel model(store);
  for (int height : {HD1, Hg1}) {
    tables.ClearUserFixed();
    Type(RTA1, 20, 18);
    Type(height, 20, TypedFirstYearValue(height));
    Project();
    const double Hg = height == Hg1 ? 8.0 : model.HgFromHdom(Beech, 9.5);
    const double root = 10000 / (18 * Hg);
    EXPECT_EQ(At(N1, 20), root * root);
    EXPECT_EQ(At(D1, 20), yieldTableD1);
    EXPECT_NEAR(At(G1, 20), BasalArea(At(N1, 20), yieldTableD1), 1e-12 * At(G1, 20));
  }
}

TEST_F(ProjectionEngineTest, TheGrowthRateModelGrowsWithTheParameterInForce) {
  Project();
  const double siteIndexHeight = At(HD1, 21);
  stand.Site.UseA0Model = true;
  stand.Site.A0Parameter = 0.0032 + 0.001441 * 24;  // the site-index model's rate
  stand.Site.UserA0Parameter = 0.05;
  Project();
  EXPECT_EQ(At(HD1, 21), siteIndexHeight);
  stand.Site.UserA0Fixed = true;
  Project();
  EXPECT_GT(At(HD1, 21), siteIndexHeight + 0.05);
}

// ---------------------------------------------------------------------------
// The thinning decision

void ExpectUnthinned(const ProjectionFixture& f, int age) {
  const int pairs[][2] = {{HD3, HD1}, {Hg3, Hg1}, {D3, D1}, {F3, F1},
                          {N3, N1},   {G3, G1},   {V3, V1}, {RTA3, RTA1}};
  for (const auto& [after, before] : pairs) EXPECT_EQ(f.At(after, age), f.At(before, age)) << age;
  for (int v : {N2, G2, V2}) EXPECT_EQ(f.At(v, age), 0) << age;
  for (int v : {HD2, Hg2, D2, F2, RTA2, Q1, Q3}) EXPECT_EQ(f.At(v, age), Sentinel) << age;
  EXPECT_EQ(f.At(IterationRow, age), Sentinel) << age;
}

TEST_F(ProjectionEngineTest, WithoutThinningAgesTheStandIsNeverThinned) {
  EXPECT_TRUE(Project());
  for (int age = 20; age <= 100; ++age) ExpectUnthinned(*this, age);
}

TEST_F(ProjectionEngineTest, TheG1WindowDecidesUnlessAThinningIsTyped) {
  SetThinningAges({30, 40});
  regime.ThinGMin = 90;
  Type(G2, 40, 1.5);
  EXPECT_TRUE(Project());
  ExpectUnthinned(*this, 30);
  EXPECT_EQ(At(Q1, 40), regime.Ramp(regime.QuotientStart, regime.QuotientEnd, 40));
  EXPECT_NEAR(At(G3, 40), At(G1, 40) - 1.5, 1e-12);
}

TEST_F(ProjectionEngineTest, BasalAreaBelowTheTargetRemovesNothing) {
  SetThinningAges({22});
  EXPECT_TRUE(Project());
  ASSERT_LT(At(G1, 22), regime.TargetGStart);
  EXPECT_EQ(At(G2, 22), 0);
  EXPECT_EQ(At(N2, 22), 0);
  EXPECT_EQ(At(V2, 22), 0);
  const int pairs[][2] = {{G3, G1}, {N3, N1}, {D3, D1}, {HD3, HD1}, {V3, V1}, {RTA3, RTA1}};
  for (const auto& [after, before] : pairs) EXPECT_EQ(At(after, 22), At(before, 22)) << after;
  EXPECT_EQ(At(Q3, 22), At(D2, 22) / At(D1, 22));
  EXPECT_EQ(At(IterationRow, 22), Sentinel);  // the removal is direct: no search

  const int position = Index(22) + 1;
  for (int v : {Q1, D2, HD2, Hg2, F2, RTA2, Q3, HD3, Hg3, D3, F3, RTA3})
    EXPECT_TRUE(ThinningNegligible(tables, v, position)) << SymbolOf(v, Language::English);
  EXPECT_FALSE(ThinningNegligible(tables, G2, position));
}

TEST_F(ProjectionEngineTest, RegimeValuesRampBetweenTheFirstAndTheLastThinning) {
  SetThinningAges({25, 50, 90});
  regime.ThinStartAge = 30;
  regime.ThinEndAge = 70;
  regime.TargetGStart = 18;
  regime.TargetGEnd = 26;
  regime.QuotientStart = 0.8;
  regime.QuotientEnd = 1.0;
  EXPECT_TRUE(Project());
  const struct {
    int age;
    double target, quotient;
  } cases[] = {{25, 18, 0.8}, {50, 22, 0.9}, {90, 26, 1.0}};
  for (const auto& c : cases) {
    ASSERT_GT(At(G1, c.age), c.target) << c.age;
    EXPECT_DOUBLE_EQ(At(Q1, c.age), c.quotient) << c.age;
    EXPECT_NEAR(At(G3, c.age), c.target, 1e-9) << c.age;
  }
}

TEST_F(ProjectionEngineTest, ASpacingTargetBelowTheCurrentSpacingKeepsIt) {
  SetThinningAges({20});
  regime.MeasureIsBasalArea = false;
  EXPECT_TRUE(Project());
  ASSERT_GT(At(RTA1, 20), regime.TargetRSStart);
  EXPECT_NEAR(At(RTA3, 20), At(RTA1, 20), 1e-6);
  EXPECT_GE(At(IterationRow, 20), 1);
  EXPECT_LT(At(G2, 20), 0.01);
}

// ---------------------------------------------------------------------------
// Corrective passes: each case sets one constraint against the thinning that
// the regime alone gives at 50 years.

struct CorrectiveCase {
  const char* name;
  bool basalArea;
  std::function<void(RegimeSettings&, const ProjectionFixture&)> constrain;
  std::function<void(const ProjectionFixture&, const RegimeSettings&)> expect;
};

double Share(const ProjectionFixture& f) { return 100 * f.At(G2, 50) / f.At(G1, 50); }

const CorrectiveCase CorrectiveCases[] = {
    {"VolumeAboveThinVMaxIsCapped", true,
     [](RegimeSettings& r, const ProjectionFixture& f) { r.ThinVMax = 0.5 * f.At(V2, 50); },
     [](const ProjectionFixture& f, const RegimeSettings& r) {
       EXPECT_NEAR(f.At(V2, 50), r.ThinVMax, 1e-6);
       EXPECT_DOUBLE_EQ(f.At(Q1, 50), r.Ramp(r.QuotientStart, r.QuotientEnd, 50));
     }},
    {"ShareAboveThinPctMaxIsCapped", true,
     [](RegimeSettings& r, const ProjectionFixture& f) { r.ThinPctMax = 0.5 * Share(f); },
     [](const ProjectionFixture& f, const RegimeSettings& r) {
       EXPECT_EQ(f.At(G2, 50), r.ThinPctMax / 100 * f.At(G1, 50));
     }},
    {"SpacingBelowRemRSMinIsRaised", true,
     [](RegimeSettings& r, const ProjectionFixture& f) { r.RemRSMin = f.At(RTA3, 50) + 0.5; },
     [](const ProjectionFixture& f, const RegimeSettings& r) { EXPECT_NEAR(f.At(RTA3, 50), r.RemRSMin, 1e-6); }},
    {"SpacingAboveRemRSMaxIsLowered", true,
     [](RegimeSettings& r, const ProjectionFixture& f) {
       r.RemRSMax = (f.At(RTA1, 50) + f.At(RTA3, 50)) / 2;
     },
     [](const ProjectionFixture& f, const RegimeSettings& r) { EXPECT_NEAR(f.At(RTA3, 50), r.RemRSMax, 1e-6); }},
    {"VolumeBelowThinVMinCancels", true,
     [](RegimeSettings& r, const ProjectionFixture& f) { r.ThinVMin = 2 * f.At(V2, 50); },
     [](const ProjectionFixture& f, const RegimeSettings&) {
       EXPECT_EQ(f.At(G2, 50), 0);
       EXPECT_EQ(f.At(V2, 50), 0);
     }},
    {"ShareBelowThinPctMinCancels", true,
     [](RegimeSettings& r, const ProjectionFixture& f) { r.ThinPctMin = 2 * Share(f); },
     [](const ProjectionFixture& f, const RegimeSettings&) { EXPECT_EQ(f.At(G2, 50), 0); }},
    {"BasalAreaBelowRemGMinIsRaised", false,
     [](RegimeSettings& r, const ProjectionFixture& f) { r.RemGMin = f.At(G3, 50) + 1; },
     [](const ProjectionFixture& f, const RegimeSettings& r) { EXPECT_NEAR(f.At(G3, 50), r.RemGMin, 1e-6); }},
    {"BasalAreaAboveRemGMaxIsLowered", false,
     [](RegimeSettings& r, const ProjectionFixture& f) { r.RemGMax = f.At(G3, 50) - 1; },
     [](const ProjectionFixture& f, const RegimeSettings& r) { EXPECT_NEAR(f.At(G3, 50), r.RemGMax, 1e-6); }},
    {"SpacingMeasureCancelsByKeepingTheSpacing", false,
     [](RegimeSettings& r, const ProjectionFixture& f) { r.ThinVMin = 2 * f.At(V2, 50); },
     [](const ProjectionFixture& f, const RegimeSettings&) {
       EXPECT_NEAR(f.At(RTA3, 50), f.At(RTA1, 50), 1e-6);
     }},
};

class CorrectivePassTest : public ProjectionFixture,
                           public ::testing::WithParamInterface<CorrectiveCase> {};

TEST_P(CorrectivePassTest, TheViolatedConstraintDecidesTheThinning) {
  const CorrectiveCase& c = GetParam();
  SetThinningAges({50});
  regime.MeasureIsBasalArea = c.basalArea;
  ASSERT_TRUE(Project());
  ASSERT_GT(At(G2, 50), 0.5);
  c.constrain(regime, *this);
  ASSERT_FALSE(ThinningWithinLimits(tables, regime, Index(50)));

  EXPECT_TRUE(Project());
  c.expect(*this, regime);
}

INSTANTIATE_TEST_SUITE_P(OneConstraintEach, CorrectivePassTest, ::testing::ValuesIn(CorrectiveCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProjectionEngineTest, ATypedThinningSkipsTheCorrectivePasses) {
  SetThinningAges({50});
  regime.ThinVMin = 1000;  // would cancel every thinning
  Type(Q1, 50, 0.85);
  EXPECT_TRUE(Project());
  EXPECT_EQ(At(D2, 50), 0.85 * At(D1, 50));
  EXPECT_EQ(At(G2, 50), At(G1, 50) - regime.TargetGStart);
  EXPECT_FALSE(ThinningWithinLimits(tables, regime, Index(50)));
}

// ---------------------------------------------------------------------------
// Increments, means and totals

TEST_F(ProjectionEngineTest, IncrementsRunFromTheRemainingStandToTheNextYear) {
  SetThinningAges({20, 22, 24, 27, 30, 33, 37, 41, 45, 50, 56, 62, 69, 77, 85, 94});
  EXPECT_TRUE(Project());

  EXPECT_EQ(At(mdVdt, 20), At(V1, 20) / 20);
  EXPECT_EQ(At(dVtot, 20), At(V1, 20));
  EXPECT_EQ(At(dGtot, 20), At(G1, 20));
  EXPECT_EQ(At(dNtot, 20), 0);

  double sumHD = 0;
  for (int age = 20; age < 100; ++age) {
    EXPECT_EQ(At(dVdt, age), At(V1, age + 1) - At(V3, age)) << age;
    EXPECT_EQ(At(dNdt, age), At(N1, age + 1) - At(N3, age)) << age;
    EXPECT_EQ(At(dVtot, age + 1), At(dVtot, age) + At(dVdt, age)) << age;
    EXPECT_EQ(At(dNtot, age + 1), At(dNtot, age) + At(dNdt, age)) << age;
    EXPECT_EQ(At(mdHDdt, age), (At(HD1, 20) + sumHD) / age) << age;
    sumHD += At(dHDdt, age);
  }
  // Thinnings take nothing from the total production.
  EXPECT_GT(At(dVtot, 100), At(V1, 100));

  for (int v = dHDdt; v <= dRTAdt; ++v) EXPECT_EQ(At(v, 100), Sentinel) << v;
  for (int v = mdHDdt; v <= dVtot; ++v) EXPECT_GT(At(v, 100), -1e5) << v;
  EXPECT_EQ(At(mdVdt, 100), At(dVtot, 100) / 100);
}

// ---------------------------------------------------------------------------
// Floating-point faults end only their year

TEST_F(ProjectionEngineTest, AFaultInTheFirstYearLeavesLaterYearsInvalidButFinite) {
  Type(N1, 20, 0);  // G1 becomes 0, then D1 = sqrt(0/0)
  EXPECT_TRUE(Project());
  ExpectAllFinite();
  EXPECT_EQ(At(G1, 20), 0);
  EXPECT_EQ(At(D1, 20), YieldTableDiameter(Beech, 20, stand.Site.SiteClass));  // the yield table's
  EXPECT_EQ(At(Hg1, 20), 0);                                                  // never reached
  for (int age : {21, 60, 100}) {
    EXPECT_EQ(At(T, age), age);
    for (int v : {HD1, G1, N1, D1, V1, HD3}) EXPECT_EQ(At(v, age), Sentinel) << age;
    // No increment between invalid states, and no zero one either.
    EXPECT_EQ(At(dHDdt, age - 1), Sentinel) << age;
  }
}

TEST_F(ProjectionEngineTest, AFaultInALaterThinningLeavesTheOtherYearsIntact) {
  tables.TableEndAge = 30;
  stand.VolumeDefinition = 3;  // to 10 cm: the young stand has no volume
  SetThinningAges({30});
  ASSERT_TRUE(Project());
  ASSERT_EQ(At(V1, 30), 0);
  const ProjectionTables reference = tables;

  Type(V3, 30, 0);  // the search divides by the mean of [0, V1] = 0
  EXPECT_TRUE(Project());
  ExpectAllFinite();
  for (int k = 0; k < VariableRows; ++k) {
    if (k >= HD2 && k <= RTA3) continue;
    for (int i = 0; i <= Index(30); ++i)
      EXPECT_EQ(tables.StandTable[k][i], reference.StandTable[k][i]) << k << " " << i;
  }
  for (int k = HD2; k <= RTA3; ++k)
    for (int i = 0; i < Index(30); ++i)
      EXPECT_EQ(tables.StandTable[k][i], reference.StandTable[k][i]) << k << " " << i;
  // What the thinning wrote before its search stays; nothing of the search does.
  EXPECT_EQ(At(Q1, 30), reference.Value(Q1, Index(30)));
  for (int v : {N2, G2, G3, N3, D3, RTA3}) EXPECT_EQ(At(v, 30), 0) << v;
  EXPECT_EQ(At(IterationRow, 30), Sentinel);
}

}  // namespace
}  // namespace orven
