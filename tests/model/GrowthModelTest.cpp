#include <gtest/gtest.h>

#include <cmath>

#include "model/FloatFault.h"
#include "model/GrowthModel.h"
#include "model/Sentinel.h"

namespace orven {
namespace {

// A store with made-up but well-behaved coefficients for beech and spruce.
class GrowthModelTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (int species : {Beech, NorwaySpruce}) {
      store.SpeciesTable[species].Present = true;
      SpeciesParameters& P = store.ModelParameters[species];
      P[2] = 0.8; P[3] = -0.05; P[4] = -0.01;                                  // height, A0
      P[6] = 0.2; P[7] = 20; P[8] = 0.5; P[9] = -0.02; P[10] = -0.05; P[11] = 1;  // basal area, A0
      P[12] = 0.01; P[13] = 1.5; P[14] = 0.001;                                // stem number, A0
      P[18] = 1.7; P[19] = 4000; P[20] = 36;                                   // height-age curve
      P[24] = 1.05; P[25] = 1.5;                                               // Hdom = 1.05 Hg + 1.5
      P[30] = 0.1; P[31] = 0.05;                                               // after thinning
      P[60] = 0.001; P[61] = 0.0008; P[62] = 0.8; P[63] = -0.05; P[64] = -0.01;
      P[66] = 0.3; P[67] = 0.02; P[68] = 0.5; P[69] = -0.02; P[70] = -0.05; P[71] = 1;
      P[72] = 0.01; P[73] = 1.5; P[74] = 0.001;
    }
    ClearFloatFaults();
  }
  ParameterStore store;
  GrowthModel model{store};
};

TEST_F(GrowthModelTest, NegativeArgumentsGiveTheSentinel) {
  struct Case {
    const char* name;
    double result;
  };
  const Case cases[] = {
      {"HdomIncrementA0 Hdom", model.HdomIncrementA0(Beech, -1, 20, 0.02)},
      {"HdomIncrementA0 G", model.HdomIncrementA0(Beech, 15, -1, 0.02)},
      {"HdomIncrementA0 A0", model.HdomIncrementA0(Beech, 15, 20, -0.02)},
      {"BasalAreaIncrementA0 G", model.BasalAreaIncrementA0(Beech, -1, 15, 0.02)},
      {"BasalAreaIncrementA0 Hdom", model.BasalAreaIncrementA0(Beech, 20, -1, 0.02)},
      {"BasalAreaIncrementA0 A0", model.BasalAreaIncrementA0(Beech, 20, 15, -0.02)},
      {"StemNumberChangeA0 N", model.StemNumberChangeA0(Beech, -1, 15)},
      {"StemNumberChangeA0 Hdom", model.StemNumberChangeA0(Beech, 1000, -1)},
      {"HdomIncrementSI SI", model.HdomIncrementSI(Beech, 15, 20, -1)},
      {"BasalAreaIncrementSI G", model.BasalAreaIncrementSI(Beech, -1, 15, 20)},
      {"StemNumberChangeSI N", model.StemNumberChangeSI(Beech, -1, 15)},
      {"species 7", model.HdomIncrementA0(7, 15, 20, 0.02)},
      {"species -1", model.StemNumberChangeSI(-1, 1000, 15)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.result, Sentinel) << c.name;
  EXPECT_FALSE(FloatFaultRaised());
}

TEST_F(GrowthModelTest, IncrementsHaveTheExpectedSignsAndZeroBasalAreaGivesNoGrowth) {
  EXPECT_GT(model.HdomIncrementA0(Beech, 15, 20, 0.02), 0);
  EXPECT_GT(model.HdomIncrementSI(Beech, 15, 20, 25), 0);
  EXPECT_GT(model.BasalAreaIncrementA0(Beech, 20, 15, 0.02), 0);
  EXPECT_LT(model.StemNumberChangeA0(Beech, 1000, 15), 0);
  EXPECT_LT(model.StemNumberChangeSI(Beech, 1000, 15), 0);
  // 0 raised to a positive power: no growth, and no fault.
  EXPECT_EQ(model.BasalAreaIncrementA0(Beech, 0, 15, 0.02), 0);
  EXPECT_EQ(model.BasalAreaIncrementSI(Beech, 0, 15, 25), 0);
  EXPECT_FALSE(FloatFaultRaised());
}

TEST_F(GrowthModelTest, TheSiteIndexEntersTheHeightIncrementAsALinearRate) {
  // (P60 + P61 SI) takes the place of A0.
  double SI = 25;
  double rate = 0.001 + 0.0008 * SI;
  store.ModelParameters[Beech][60] = 0.001;
  EXPECT_DOUBLE_EQ(model.HdomIncrementSI(Beech, 15, 20, SI), model.HdomIncrementA0(Beech, 15, 20, rate));
}

TEST_F(GrowthModelTest, GrowthCorrectionScalesOnlyBasalAreaIncrements) {
  GrowthModel corrected(store, 1.2);
  EXPECT_DOUBLE_EQ(corrected.BasalAreaIncrementA0(Beech, 20, 15, 0.02),
                   1.2 * model.BasalAreaIncrementA0(Beech, 20, 15, 0.02));
  EXPECT_DOUBLE_EQ(corrected.BasalAreaIncrementSI(Beech, 20, 15, 25),
                   1.2 * model.BasalAreaIncrementSI(Beech, 20, 15, 25));
  EXPECT_EQ(corrected.HdomIncrementA0(Beech, 15, 20, 0.02), model.HdomIncrementA0(Beech, 15, 20, 0.02));
  EXPECT_EQ(corrected.StemNumberChangeA0(Beech, 1000, 15), model.StemNumberChangeA0(Beech, 1000, 15));
}

TEST_F(GrowthModelTest, IncrementFaultsAreLeftForTheCallerToSee) {
  // 0 raised to a negative power: a division-by-zero fault the caller must see.
  store.ModelParameters[Beech][8] = -0.5;
  model.BasalAreaIncrementA0(Beech, 0, 15, 0.02);
  EXPECT_TRUE(FloatFaultRaised());
  ClearFloatFaults();
  store.ModelParameters[Beech][3] = 800;  // exp overflows
  model.HdomIncrementA0(Beech, 15, 20, 0.02);
  EXPECT_TRUE(FloatFaultRaised());
}

TEST_F(GrowthModelTest, HeightAgeCurvePassesThroughItsReferencePoint) {
  for (double H : {5.0, 15.0, 28.0, 40.0}) EXPECT_NEAR(model.DominantHeightAtAge(Beech, 50, 50, H), H, 1e-12 * H);
  double h80 = model.DominantHeightAtAge(Beech, 80, 50, 28);
  EXPECT_GT(h80, 28);
  // The curve is invertible: from the height at 80 back to age 50.
  EXPECT_NEAR(model.DominantHeightAtAge(Beech, 50, 80, h80), 28, 1e-9);
}

TEST_F(GrowthModelTest, HeightAgeCurveCatchesItsFaultsAndKeepsTheFlagsClear) {
  // beta < 0 makes Z^2 + 2 beta H0 / t0^b negative near H0 = d.
  store.ModelParameters[Beech][18] = 1;
  store.ModelParameters[Beech][19] = -50;
  store.ModelParameters[Beech][20] = 30;
  EXPECT_EQ(model.DominantHeightAtAge(Beech, 50, 50, 30), Sentinel);
  EXPECT_EQ(model.DominantHeightAtAge(Beech, 50, 0, 20), Sentinel);  // division by zero
  EXPECT_FALSE(FloatFaultRaised());
  // A fault raised before the call is kept for the caller.
  volatile double zero = 0;
  volatile double raise = 1 / zero;
  (void)raise;
  EXPECT_EQ(model.DominantHeightAtAge(Beech, 50, 50, 30), Sentinel);
  EXPECT_TRUE(FloatFaultRaised());
}

TEST_F(GrowthModelTest, MaxSiteIndexIsTheLastWorkingGridPoint) {
  // Norway spruce's curve fails where (H - 30)^2 < 2 H, first at H = 23.2.
  store.ModelParameters[NorwaySpruce][18] = 1;
  store.ModelParameters[NorwaySpruce][19] = -50;
  store.ModelParameters[NorwaySpruce][20] = 30;
  ComputeMaxSiteIndex(store);
  EXPECT_NEAR(store.MaxSiteIndex[NorwaySpruce], 23.1, 1e-9);
  // Beech works everywhere: the walk stops past 100 and steps back to it.
  EXPECT_NEAR(store.MaxSiteIndex[Beech], 100, 1e-9);
  EXPECT_EQ(store.MaxSiteIndex[Oak], 0);  // not in the file
  EXPECT_EQ(model.MaxSiteIndex(NorwaySpruce), store.MaxSiteIndex[NorwaySpruce]);
  EXPECT_EQ(model.MaxSiteIndex(7), 0);
}

TEST_F(GrowthModelTest, MeanHeightNeverExceedsDominantHeight) {
  EXPECT_DOUBLE_EQ(model.HgFromHdom(Beech, 22.5), 20);
  EXPECT_DOUBLE_EQ(model.HdomFromHg(Beech, model.HgFromHdom(Beech, 22.5)), 22.5);
  // Below the intercept the linear relation would put Hg above Hdom.
  EXPECT_EQ(model.HgFromHdom(Beech, 1.0), (1.0 - 1.5) / 1.05);
  store.ModelParameters[Beech][25] = -40;  // Hdom = 1.05 Hg - 40 lies below Hg
  EXPECT_EQ(model.HgFromHdom(Beech, 20), 20);
  EXPECT_EQ(model.HdomFromHg(Beech, 20), 20);
}

TEST_F(GrowthModelTest, ThinningFromBelowRaisesDominantHeightALittle) {
  EXPECT_EQ(model.HdomAfterThinning(Beech, 25, 25, 20), 20);
  double after = model.HdomAfterThinning(Beech, 25, 27, 20);
  EXPECT_GT(after, 20);
  EXPECT_LT(after, 21);
}

}  // namespace
}  // namespace orven
