#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "model/Sentinel.h"
#include "site/SiteSearch.h"
#include "site/SiteTestStore.h"

namespace orven {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

class SiteSearchTest : public ::testing::Test {
protected:
  ParameterStore store = test::SiteTestStore();
  GrowthModel model{store};
};

TEST_F(SiteSearchTest, A0FromSiteIndexFindsTheRateAtWhichBothVersionsGrowAlike) {
  for (int species = 0; species < SpeciesCount; ++species)
    for (double SI : {12.0, 20.0, 33.3})
      EXPECT_NEAR(A0FromSiteIndex(model, species, SI), test::SiteRate(store, species, SI), 1e-6)
          << "species " << species << " SI " << SI;
}

TEST_F(SiteSearchTest, SiteIndexFromA0InvertsItWithinTheSearchGrid) {
  // The bracket settles when its ends are equally good, so it is accurate to
  // about a third of the grid spacing.
  for (int species = 0; species < SpeciesCount; ++species)
    for (double SI : {12.0, 20.0, 27.5})
      EXPECT_NEAR(SiteIndexFromA0(model, species, test::SiteRate(store, species, SI)), SI, 0.35)
          << "species " << species << " SI " << SI;
  EXPECT_LE(SiteIndexFromA0(model, Oak, 1.0), SiteBuiltInsFor(Oak).SiteIndexSearchMax);
}

TEST_F(SiteSearchTest, SiteIndexFromA0ReachesTheSpeciesUpperBound) {
  // Species searched to 40 m find site indices well past 32 m, the top of
  // the others' grid.
  for (int species : {Beech, NorwaySpruce, DouglasFir, SilverFir})
    for (double SI : {33.5, 36.5, 39.0})
      EXPECT_NEAR(SiteIndexFromA0(model, species, test::SiteRate(store, species, SI)), SI, 0.35)
          << "species " << species << " SI " << SI;
}

TEST_F(SiteSearchTest, NonPositiveArgumentsGiveTheSentinel) {
  EXPECT_EQ(A0FromSiteIndex(model, Beech, 0), Sentinel);
  EXPECT_EQ(A0FromSiteIndex(model, Beech, Sentinel), Sentinel);
  EXPECT_EQ(SiteIndexFromA0(model, Beech, 0), Sentinel);
  EXPECT_EQ(SiteIndexFromA0(model, Beech, -0.01), Sentinel);
}

TEST_F(SiteSearchTest, HeightGrowthMismatchVanishesWhereTheVersionsAgree) {
  const double SI = 20, A0 = test::SiteRate(store, Beech, SI);
  EXPECT_NEAR(HeightGrowthMismatch(model, Beech, A0, SI), 0, 1e-20);
  const double near = HeightGrowthMismatch(model, Beech, A0 + 0.001, SI);
  EXPECT_GT(near, 0);
  EXPECT_NEAR(HeightGrowthMismatch(model, Beech, A0 + 0.002, SI), 4 * near, 1e-9 * near);
}

TEST(BracketSearchTest, FaultedEvaluationsLose) {
  // The minimum lies just before a region where the function cannot be evaluated.
  auto f = [](double x) { return x > 4.75 ? NaN : (x - 4.7) * (x - 4.7); };
  const std::vector<double> grid = {1, 2, 3, 4, 5, 6};
  EXPECT_NEAR(BracketSearch(f, grid, 0, 0.5, 1, 6), 4.7, 0.01);
  auto overflowing = [](double x) { return x > 4.75 ? std::exp(1e5 * x) : (x - 4.7) * (x - 4.7); };
  EXPECT_NEAR(BracketSearch(overflowing, grid, 0, 0.5, 1, 6), 4.7, 0.01);
}

TEST(BracketSearchTest, GivesTheSentinelWhenTheBracketDoesNotSettle) {
  // Bounds that never cut an astronomically wide start bracket.
  int evaluations = 0;
  auto f = [&](double x) {
    ++evaluations;
    return std::abs(x);
  };
  const double huge = std::numeric_limits<double>::max();
  EXPECT_EQ(BracketSearch(f, {}, -1e300, 1e300, -huge, huge), Sentinel);
  EXPECT_EQ(evaluations, 2 + 2 * BracketSearchLimit);
}

TEST(StepSearchTest, FindsTheMinimumAndEndsOnFlatOrFaultedErrors) {
  EXPECT_NEAR(StepSearch([](double x) { return (x - 0.37) * (x - 0.37); }), 0.37, 1e-5);
  // No trial value is better than another: the walk never turns.
  EXPECT_EQ(StepSearch([](double) { return 0.0; }), Sentinel);
  EXPECT_EQ(StepSearch([](double) { return NaN; }), Sentinel);
  auto faultedAbove = [](double x) { return x > 0.47 ? NaN : (x - 0.45) * (x - 0.45); };
  EXPECT_NEAR(StepSearch(faultedAbove), 0.45, 1e-5);
}

// Inventories every five years from age 20, simulated with the fit's own
// one-year steps and a thinning of 3 m2/ha at each inventory but the last.
InventoryRecords Simulate(const GrowthModel& model, int species, double A0, int count) {
  InventoryRecords records{};
  double H = 8, G = 12;
  for (int k = 0; k < count; ++k) {
    InventoryRecord& r = records[k];
    r.Age = 20 + 5 * k;
    r.Hdom = H;
    r.GBefore = G;
    r.GThinned = k + 1 < count ? 3 : 0;
    r.GAfter = G - r.GThinned;
    G = r.GAfter;
    for (int year = 0; year < 5; ++year) {
      const double dH = model.HdomIncrementA0(species, H, G, A0);
      const double dG = model.BasalAreaIncrementA0(species, G, H, A0);
      H += dH;
      G += dG;
    }
  }
  return records;
}

TEST_F(SiteSearchTest, EstimateA0FromInventoriesRecoversTheGrowthRate) {
  struct Case {
    int species;
    double A0;
    double correction;
  };
  for (const Case& c : {Case{Beech, 0.02, 1}, Case{NorwaySpruce, 0.006, 1}, Case{DouglasFir, 0.12, 1.2}}) {
    GrowthModel corrected(store, c.correction);
    EXPECT_NEAR(EstimateA0FromInventories(corrected, c.species, Simulate(corrected, c.species, c.A0, 5)),
                c.A0, 1e-5)
        << "species " << c.species;
  }
}

TEST_F(SiteSearchTest, EstimateA0FromInventoriesUsesTheLeadingRecordsAndNeedsTwo) {
  InventoryRecords records = Simulate(model, Beech, 0.02, 3);
  const double three = EstimateA0FromInventories(model, Beech, records);
  InventoryRecords gap = records;
  gap[3] = {};
  gap[4] = {60, 5, 30, 35, 0, 35};  // after an empty record: ignored
  EXPECT_EQ(EstimateA0FromInventories(model, Beech, gap), three);

  InventoryRecords one{};
  one[0] = records[0];
  one[2] = records[1];
  EXPECT_EQ(EstimateA0FromInventories(model, Beech, one), Sentinel);
}

TEST_F(SiteSearchTest, OverflowingTrialValuesDoNotSpoilTheFit) {
  // Height growth that explodes for large trial values.
  store.ModelParameters[Beech][3] = 0.1;
  const InventoryRecords records = Simulate(model, Beech, 0.002, 5);
  ASSERT_FALSE(std::isfinite(Simulate(model, Beech, 0.0501, 5)[4].Hdom));  // the second grid value
  EXPECT_NEAR(EstimateA0FromInventories(model, Beech, records), 0.002, 1e-6);
}

TEST_F(SiteSearchTest, A0FromSoilTexture) {
  EXPECT_DOUBLE_EQ(A0FromSoilTexture(model, Beech, 0), 0.01);
  EXPECT_DOUBLE_EQ(A0FromSoilTexture(model, Beech, 10), 0.01 * std::pow(11.0, 0.2));
  store.ModelParameters[Beech][37] = 1e6;
  EXPECT_EQ(A0FromSoilTexture(model, Beech, 10), Sentinel);
}

}  // namespace
}  // namespace orven
