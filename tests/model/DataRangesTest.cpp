#include <gtest/gtest.h>

#include "model/DataRanges.h"
#include "model/FloatFault.h"

namespace orven {
namespace {

class DataRangesTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (int species = 0; species < SpeciesCount; ++species) {
      store.SpeciesTable[species].Present = true;
      store.ModelParameters[species][24] = 1.05;  // Hdom = 1.05 Hg + 1.5
      store.ModelParameters[species][25] = 1.5;
    }
  }
  ParameterStore store;
  GrowthModel model{store};
};

TEST_F(DataRangesTest, FixedRangesIncludeTheirLimits) {
  struct Case {
    int code, species;
    double value;
    bool outside;
  };
  const Case cases[] = {
      {0, Beech, 211, false},         {0, Beech, 212, true},         {0, Beech, 14, false},
      {0, Beech, 13.9, true},         {1, Beech, 36.95, false},      {19, Beech, 36.96, true},
      {3, Oak, 2.18, true},           {21, Oak, 91.88, false},       {4, SitkaSpruce, 9513.53, true},
      {22, SitkaSpruce, 4.37, false}, {5, SilverFir, 85.41, true},   {23, DouglasFir, 0.62, true},
      {0, Ash, 100, false},           {0, Ash, 101, true},           {4, NorwaySpruce, 26503.7, false},
      // codes the fixed ranges do not cover, and unknown species
      {6, Beech, 1e9, false},         {18, Beech, -1, false},        {24, Beech, 1e9, false},
      {-1, Beech, 1e9, false},        {0, 7, 1e9, false},            {0, -1, -1e9, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(OutsideDataRange(model, c.code, c.species, c.value), c.outside)
        << "code " << c.code << " species " << c.species << " value " << c.value;
}

TEST_F(DataRangesTest, MeanHeightRangeIsTheDominantHeightRangeConverted) {
  double lower = model.HgFromHdom(Beech, 5.08), upper = model.HgFromHdom(Beech, 36.95);
  for (int code : {2, 20}) {
    EXPECT_FALSE(OutsideDataRange(model, code, Beech, lower));
    EXPECT_FALSE(OutsideDataRange(model, code, Beech, upper));
    EXPECT_TRUE(OutsideDataRange(model, code, Beech, lower - 1e-9));
    EXPECT_TRUE(OutsideDataRange(model, code, Beech, upper + 1e-9));
  }
}

TEST_F(DataRangesTest, SiteIndexEnvelopeAroundTheDataOfBeech) {
  // At age 50 the site index is the height itself: limits 0.9 * 11.71 and 1.1 * 28.4.
  EXPECT_FALSE(SiteIndexOutsideData(Beech, 50, 30));
  EXPECT_TRUE(SiteIndexOutsideData(Beech, 50, 32));
  EXPECT_TRUE(SiteIndexOutsideData(Beech, 50, 10));
  EXPECT_FALSE(SiteIndexOutsideData(Beech, 50, 10.6));
  // A failing curve (age 0 divides by zero) counts as inside, silently.
  ClearFloatFaults();
  EXPECT_FALSE(SiteIndexOutsideData(Beech, 0, 20));
  EXPECT_FALSE(FloatFaultRaised());
  // The codes route to the right envelope.
  EXPECT_TRUE(OutsideModelData(model, Beech, 1, 50, 32, 0));
  EXPECT_TRUE(OutsideModelData(model, Beech, 19, 50, 10, 0));
  EXPECT_TRUE(OutsideModelData(model, Beech, 20, 50, 0, model.HgFromHdom(Beech, 32)));
  EXPECT_FALSE(OutsideModelData(model, Beech, 2, 50, 0, model.HgFromHdom(Beech, 30)));
}

TEST_F(DataRangesTest, DiameterAndBasalAreaEnvelopes) {
  // Beech at HD 20: D bounds exp(1.3564 + 1.2) and exp(2.4751 + 1.2).
  double lo = std::exp(1.3564 + 1.2), hi = std::exp(2.4751 + 1.2);
  EXPECT_FALSE(DiameterOutsideData(Beech, 0.8 * lo + 1e-9, 20));
  EXPECT_TRUE(DiameterOutsideData(Beech, 0.8 * lo - 1e-6, 20));
  EXPECT_FALSE(DiameterOutsideData(Beech, 1.2 * hi - 1e-9, 20));
  EXPECT_TRUE(DiameterOutsideData(Beech, 1.2 * hi + 1e-6, 20));
  EXPECT_TRUE(OutsideModelData(model, Beech, 21, 50, 20, 1.2 * hi + 1e-6));
  // Beech has no lower basal-area envelope: 0.5 m2/ha is the floor.
  EXPECT_TRUE(BasalAreaOutsideData(Beech, 0.4, 20));
  EXPECT_FALSE(BasalAreaOutsideData(Beech, 0.5, 20));
  double gHi = 90.565 * std::exp(-132.622 / 200);
  EXPECT_TRUE(BasalAreaOutsideData(Beech, 1.2 * gHi + 1e-6, 20));
  EXPECT_TRUE(OutsideModelData(model, Beech, 5, 50, 20, 1.2 * gHi + 1e-6));
  // Oak has both envelopes.
  double oakLo = 14.385 * std::exp(-67.083 / 200);
  EXPECT_TRUE(BasalAreaOutsideData(Oak, 0.8 * oakLo - 1e-6, 20));
  EXPECT_FALSE(BasalAreaOutsideData(Oak, 0.8 * oakLo + 1e-6, 20));
  // Height zero fails the envelope: inside.
  EXPECT_FALSE(BasalAreaOutsideData(Oak, 0.01, 0));
}

TEST_F(DataRangesTest, AshHasNoEnvelopeSoEveryPositiveValueIsOutside) {
  EXPECT_TRUE(SiteIndexOutsideData(Ash, 40, 0.5));
  EXPECT_TRUE(SiteIndexOutsideData(Ash, 40, 25));
  EXPECT_FALSE(DiameterOutsideData(Ash, 1.2, 20));
  EXPECT_TRUE(DiameterOutsideData(Ash, 1.21, 20));
  EXPECT_TRUE(BasalAreaOutsideData(Ash, 20, 20));
}

TEST_F(DataRangesTest, StemNumberAndAgeAreNotTestedAgainstTheEnvelope) {
  for (int code : {0, 4, 22, 6, 30}) EXPECT_FALSE(OutsideModelData(model, Beech, code, 500, 80, 1e9));
  EXPECT_FALSE(SiteIndexOutsideData(7, 50, 100));
  EXPECT_FALSE(DiameterOutsideData(-1, 1000, 20));
  EXPECT_FALSE(BasalAreaOutsideData(9, 1000, 20));
}

}  // namespace
}  // namespace orven
