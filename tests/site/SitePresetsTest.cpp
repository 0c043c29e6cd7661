#include <gtest/gtest.h>

#include "site/SitePresets.h"
#include "site/SiteTestStore.h"
#include "site/SiteTexts.h"

namespace orven {
namespace {

TEST(SitePresetsTest, KeyedInParameterAndYieldClassPerSpecies) {
  struct Case {
    int species;
    double A0, yieldClass;
  };
  const Case cases[] = {
      {Beech, 0.025, 8.9},        {Oak, 0.99, 6.1},          {Ash, 0.05, 6.1},
      {NorwaySpruce, 0.007, 16.4}, {SitkaSpruce, 0.025, 16.5}, {DouglasFir, 0.12, 20.8},
      {SilverFir, 0.045, 16.2},   {7, 0.025, 8.9},
  };
  for (const Case& c : cases) {
    SiteParameters site;
    PresetUserA0parameter(site, c.species);
    EXPECT_EQ(site.UserA0Parameter, c.A0) << c.species;
    EXPECT_EQ(DefaultYieldClass(c.species), c.yieldClass) << c.species;
  }
}

TEST(SitePresetsTest, YieldClassPresetLeavesAKeyedYieldClass) {
  SiteState state;
  EXPECT_EQ(PresetYieldClass(state, DouglasFir, ','), "20,8");
  EXPECT_EQ(state.YieldClass, 20.8);
  state.YieldClassKeyed = true;
  state.YieldClass = 11;
  EXPECT_FALSE(PresetYieldClass(state, Beech, ','));
  EXPECT_EQ(state.YieldClass, 11);
}

class StandHeightPresetTest : public ::testing::Test {
protected:
  std::optional<std::string> Preset(bool heightIsHdom) {
    return PresetStandHeight(state, site, model, Beech, heightIsHdom, '.');
  }
  ParameterStore store = test::SiteTestStore();
  GrowthModel model{store};
  SiteParameters site;
  SiteState state;
};

TEST_F(StandHeightPresetTest, YieldTableHeightToOneDecimalInTheChosenMeasure) {
  state.StandAge = 40;
  // Hg = 14.173 m, Hdom = 1.05 Hg + 1.5 = 16.382 m
  EXPECT_EQ(Preset(false), "14.2");
  EXPECT_EQ(state.StandHeight, 14.2);
  EXPECT_EQ(Preset(true), "16.4");
  EXPECT_EQ(state.StandHeight, 16.4);
}

TEST_F(StandHeightPresetTest, OnlyWhileTheDefaultSiteClassIsInForceAndNoHeightWasKeyed) {
  for (double siteClass : {1.8, 2.2, 3.0}) {
    site.SiteClass = siteClass;
    EXPECT_FALSE(Preset(false)) << siteClass;
  }
  site.SiteClass = 2.19;
  EXPECT_TRUE(Preset(false));
  state.StandHeightKeyed = true;
  state.StandHeight = 12.3;
  EXPECT_FALSE(Preset(false));
  EXPECT_EQ(state.StandHeight, 12.3);
}

TEST(SitePresetsTest, SoilNotes) {
  EXPECT_EQ(SoilNote(Beech, Language::English),
            "   Unfortunately, no significant effect of soil texture was observed for this species!   ");
  EXPECT_EQ(SoilNote(SitkaSpruce, Language::Danish),
            std::string(site_text::NoSoilEffect.Danish) +
                "\r\n   Det bør desuden bemærkes at den skønnede vækstrate viser sig at øges (!) en lille smule   "
                "\r\n   når den procentuelle andel af grovsand i jorden øges.   ");
  for (int species : {Oak, Ash, NorwaySpruce, DouglasFir, SilverFir})
    EXPECT_EQ(SoilNote(species, Language::English), "") << species;
}

}  // namespace
}  // namespace orven
