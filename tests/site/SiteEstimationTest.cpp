#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "model/Sentinel.h"
#include "model/YieldTable.h"
#include "site/SiteEstimation.h"
#include "site/SiteSearch.h"
#include "site/SiteTestStore.h"
#include "site/SiteTexts.h"

namespace orven {
namespace {

std::vector<std::string> Texts(const MessageList& messages) {
  std::vector<std::string> texts;
  for (const Message& m : messages) texts.push_back(m.Text);
  return texts;
}

std::string English(const BilingualText& text) { return text.English; }

// Site values that an estimation must not touch when it fails or does not run.
struct SiteSnapshot {
  double A0Parameter, SiteIndex, SiteClass, YieldClass, StandHeight, StandHdom, StandHg, CoarseSand;
  int StandAge;
  bool operator==(const SiteSnapshot&) const = default;
};

SiteSnapshot Snapshot(const SiteParameters& site, const SiteState& state) {
  return {site.A0Parameter, site.SiteIndex,    site.SiteClass, state.YieldClass, state.StandHeight,
          state.StandHdom,  state.StandHg,     state.CoarseSandPercent, state.StandAge};
}

class SiteEstimationTest : public ::testing::Test {
protected:
  void SetUp() override {
    inputs.inputsEnabled = true;
    inputs.rgHeight = 0;
  }

  SiteEstimate Estimate(bool showMessages = true) {
    return EstimateA0parameter(showMessages, store, species, site, state, inputs, tables, context,
                               messages);
  }

  void Method(int method, std::string value = "", std::string age = "") {
    inputs.rgSiteQuality = method;
    (method == StandHeightAtAge     ? inputs.edtStandHeight
     : method == ClassicalSiteClass ? inputs.edtSiteClass
                                    : inputs.edtYieldClass) = std::move(value);
    inputs.edtStandAge = std::move(age);
  }

  // Five inventories simulated with the growth-rate model, two decimals as typed.
  void TypeInventories(double A0) {
    double H = 8, G = 12;
    for (int k = 0; k < 5; ++k) {
      const double thinned = k < 4 ? 3 : 0;
      inputs.sgInventory[k] = {std::to_string(20 + 5 * k), Fixed(H), Fixed(G - thinned), Fixed(thinned)};
      G -= thinned;
      for (int year = 0; year < 5; ++year) {
        const double dH = model.HdomIncrementA0(species, H, G, A0);
        const double dG = model.BasalAreaIncrementA0(species, G, H, A0);
        H += dH;
        G += dG;
      }
    }
  }
  static std::string Fixed(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
  }

  ParameterStore store = test::SiteTestStore();
  GrowthModel model{store};
  int species = Beech;
  SiteParameters site;
  SiteState state;
  SiteInputs inputs;
  ProjectionTables tables;
  CheckContext context{Language::English, '.'};
  MessageList messages;
};

TEST_F(SiteEstimationTest, KeyedInParameterUsesTheGrowthRateModelAtAge50) {
  site.UserA0Fixed = true;
  site.UserA0Parameter = 0.02;
  Method(StandHeightAtAge);  // the page's inputs do not matter
  SiteEstimate r = Estimate();
  EXPECT_EQ(r.A0, 0.02);
  EXPECT_TRUE(site.UseA0Model);
  EXPECT_EQ(state.StandAge, 50);
  EXPECT_EQ(site.SiteIndex, SiteIndexFromA0(model, Beech, 0.02));
  EXPECT_NEAR(site.SiteIndex, 19.5, 0.4);  // (0.02 - P60) / P61
  EXPECT_EQ(state.StandHdom, site.SiteIndex);
  EXPECT_DOUBLE_EQ(state.StandHg, model.HgFromHdom(Beech, site.SiteIndex));
  EXPECT_NEAR(YieldTableHg(Beech, 50, site.SiteClass), state.StandHg, 1e-9);
  EXPECT_NEAR(SiteClassFromYieldClass(Beech, state.YieldClass), site.SiteClass, 1e-9);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(r.focus, SiteFocus::None);
}

TEST_F(SiteEstimationTest, SiteClassAtItsReferenceAgeGivesTheYieldTableHeight) {
  Method(ClassicalSiteClass, "2", "50");
  SiteEstimate r = Estimate();
  EXPECT_FALSE(site.UseA0Model);
  EXPECT_EQ(site.SiteClass, 2);
  EXPECT_EQ(state.StandHeight, YieldTableHg(Beech, 50, 2));
  EXPECT_EQ(state.StandHg, state.StandHeight);
  EXPECT_DOUBLE_EQ(state.StandHdom, 1.05 * state.StandHg + 1.5);
  EXPECT_DOUBLE_EQ(site.SiteIndex, state.StandHdom);  // the curve at equal ages returns its input
  EXPECT_NEAR(r.A0, test::SiteRate(store, Beech, site.SiteIndex), 1e-6);
  EXPECT_NEAR(YieldClassFromSiteClass(Beech, 2), state.YieldClass, 1e-9);
}

TEST_F(SiteEstimationTest, YieldClassGoesThroughItsSiteClass) {
  Method(ClassicalYieldClass, "8.9", "60");
  SiteEstimate r = Estimate();
  EXPECT_FALSE(site.UseA0Model);
  EXPECT_EQ(state.YieldClass, 8.9);
  EXPECT_EQ(state.StandAge, 60);
  EXPECT_DOUBLE_EQ(site.SiteClass, SiteClassFromYieldClass(Beech, 8.9));
  EXPECT_EQ(state.StandHg, YieldTableHg(Beech, 60, site.SiteClass));
  EXPECT_EQ(site.SiteIndex, model.DominantHeightAtAge(Beech, 50, 60, state.StandHdom));
  EXPECT_LT(site.SiteIndex, state.StandHdom);
  EXPECT_NEAR(r.A0, test::SiteRate(store, Beech, site.SiteIndex), 1e-6);
}

TEST_F(SiteEstimationTest, StandHeightInEitherMeasure) {
  struct Case {
    int rgHeight;
    double Hdom, Hg;
  };
  for (const Case& c : {Case{0, 15, (15 - 1.5) / 1.05}, Case{1, 1.05 * 15 + 1.5, 15}}) {
    inputs.rgHeight = c.rgHeight;
    Method(StandHeightAtAge, "15", "40");
    SiteEstimate r = Estimate();
    EXPECT_FALSE(site.UseA0Model);
    EXPECT_EQ(state.StandHeight, 15);
    EXPECT_EQ(state.StandAge, 40);
    EXPECT_DOUBLE_EQ(state.StandHdom, c.Hdom);
    EXPECT_DOUBLE_EQ(state.StandHg, c.Hg);
    EXPECT_DOUBLE_EQ(site.SiteClass, SiteClassFromHg(Beech, c.Hg, 40));
    EXPECT_EQ(site.SiteIndex, model.DominantHeightAtAge(Beech, 50, 40, c.Hdom));
    EXPECT_NEAR(r.A0, test::SiteRate(store, Beech, site.SiteIndex), 1e-6);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(SiteEstimationTest, AHeightTheCurveCannotTakeFallsBackOnTheHighestSiteIndex) {
  // A height-age curve that fails for reference heights around 30 m at age 50.
  store.ModelParameters[Beech][19] = -100;
  ComputeMaxSiteIndex(store);
  ASSERT_LT(store.MaxSiteIndex[Beech], 30);
  Method(StandHeightAtAge, "30", "50");
  SiteEstimate r = Estimate(/*showMessages=*/false);
  EXPECT_EQ(Texts(messages), std::vector<std::string>{English(site_text::SiteIndexError)});
  EXPECT_EQ(site.SiteIndex, store.MaxSiteIndex[Beech]);
  EXPECT_NEAR(r.A0, test::SiteRate(store, Beech, site.SiteIndex), 1e-6);
}

TEST_F(SiteEstimationTest, RepeatedInventoriesEstimateTheGrowthRate) {
  inputs.rgSiteQuality = RepeatedInventories;
  TypeInventories(0.02);
  SiteEstimate r = Estimate();
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(site.UseA0Model);
  EXPECT_NEAR(r.A0, 0.02, 2e-4);
  EXPECT_EQ(state.StandAge, 50);
  EXPECT_EQ(site.SiteIndex, SiteIndexFromA0(model, Beech, r.A0));

  // Empty rows between the inventories change nothing.
  inputs.sgInventory = {inputs.sgInventory[0], {}, inputs.sgInventory[1], {" ", "", "", ""},
                        inputs.sgInventory[2], inputs.sgInventory[3], {}, inputs.sgInventory[4]};
  EXPECT_EQ(Estimate().A0, r.A0);
  EXPECT_TRUE(messages.empty());
}

TEST_F(SiteEstimationTest, OneInventoryGivesTheSiteIndexModelFromItsHeight) {
  inputs.rgSiteQuality = RepeatedInventories;
  inputs.sgInventory[2] = {"35", "12", "", ""};
  SiteEstimate r = Estimate();
  EXPECT_EQ(Texts(messages), std::vector<std::string>{English(site_text::OneInventory) + std::string("35.   ")});
  EXPECT_FALSE(site.UseA0Model);
  EXPECT_EQ(state.StandHeight, 12);
  EXPECT_EQ(state.StandAge, 35);
  EXPECT_EQ(site.SiteIndex, model.DominantHeightAtAge(Beech, 50, 35, 12));
  EXPECT_GT(r.A0, 0);
}

TEST_F(SiteEstimationTest, AFailedLaterInventoryLeavesTheFirstAsASingleOne) {
  inputs.rgSiteQuality = RepeatedInventories;
  inputs.sgInventory[0] = {"30", "11", "20", "3"};
  inputs.sgInventory[1] = {"35", "8.5", "22", "0"};
  Estimate();
  EXPECT_EQ(Texts(messages), std::vector<std::string>{English(site_text::HeightDecreases)});
  EXPECT_FALSE(site.UseA0Model);
  EXPECT_EQ(state.StandHeight, 11);
  EXPECT_EQ(state.StandAge, 30);
}

TEST_F(SiteEstimationTest, FailedGridsGiveZeroFocusTheGridAndKeepTheSite) {
  const SiteSnapshot before = Snapshot(site, state);
  inputs.rgSiteQuality = RepeatedInventories;
  inputs.sgInventory[0] = {"30", "x", "20", "3"};
  inputs.sgInventory[1] = {"35", "16", "22", "0"};
  SiteEstimate inventory = Estimate();
  EXPECT_EQ(inventory.A0, 0);
  EXPECT_EQ(inventory.focus, SiteFocus::Inventory);
  EXPECT_TRUE(site.UseA0Model);
  EXPECT_EQ(Snapshot(site, state), before);

  inputs.rgSiteQuality = SoilTexture;
  inputs.sgSoil = {"20", "30", "40", "9.9"};
  SiteEstimate soil = Estimate();
  EXPECT_EQ(soil.A0, 0);
  EXPECT_EQ(soil.focus, SiteFocus::Soil);
  EXPECT_EQ(Snapshot(site, state), before);
  EXPECT_EQ(soil.lblSI, "H(50 yr) = ?");
  EXPECT_EQ(soil.lblA0, "Rate par. = 0.0000");
}

TEST_F(SiteEstimationTest, SoilTextureGivesTheGrowthRateModel) {
  inputs.rgSiteQuality = SoilTexture;
  inputs.sgSoil = {"20", "30", "40", "10"};
  SiteEstimate r = Estimate();
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(site.UseA0Model);
  EXPECT_EQ(state.CoarseSandPercent, 10);
  EXPECT_DOUBLE_EQ(r.A0, 0.01 * std::pow(11.0, 0.2));
  EXPECT_EQ(state.StandAge, 50);
  EXPECT_EQ(site.SiteIndex, SiteIndexFromA0(model, Beech, r.A0));
}

TEST_F(SiteEstimationTest, NoMethodUsesSiteClass2AtAge20) {
  inputs.rgSiteQuality = -1;
  inputs.sgInventory[0][0] = "40";  // the inventory grid is the one shown
  site.SiteClass = 3.5;
  state.StandAge = 44;
  SiteEstimate r = Estimate();
  EXPECT_FALSE(site.UseA0Model);
  EXPECT_EQ(site.SiteClass, 2);
  EXPECT_EQ(state.StandAge, 20);
  EXPECT_EQ(state.StandHeight, YieldTableHg(Beech, 20, 2));
  EXPECT_EQ(site.SiteIndex, model.DominantHeightAtAge(Beech, 50, 20, state.StandHdom));
  EXPECT_GT(r.A0, 0);
}

TEST_F(SiteEstimationTest, IncompleteSiteDataGiveZeroAndChangeNothing) {
  struct Case {
    const char* name;
    int method;
    std::string value, age;
    bool enabled, typed, complete;
  };
  const Case cases[] = {
      {"inputs not yet opened", ClassicalSiteClass, "2", "50", false, false, false},
      {"locked by typed values", ClassicalSiteClass, "2", "50", false, true, true},
      {"no age", ClassicalSiteClass, "2", " ", true, false, false},
      {"no yield class", ClassicalYieldClass, "", "50", true, false, false},
      {"blank soil cells", SoilTexture, "", "", true, false, false},
  };
  for (const Case& c : cases) {
    site = {};
    state = {};
    messages.clear();
    Method(c.method, c.value, c.age);
    inputs.sgSoil = {" ", "", "  ", ""};
    inputs.inputsEnabled = c.enabled;
    tables.StateTableTyped = c.typed;
    site.SiteClass = 4;
    const SiteSnapshot before = Snapshot(site, state);
    SiteEstimate r = Estimate();
    if (c.complete) {
      EXPECT_GT(r.A0, 0) << c.name;
      EXPECT_EQ(site.SiteClass, 2) << c.name;
      continue;
    }
    EXPECT_EQ(r.A0, 0) << c.name;
    EXPECT_EQ(Snapshot(site, state), before) << c.name;
    EXPECT_FALSE(site.UseA0Model) << c.name;
    EXPECT_TRUE(messages.empty()) << c.name;
    EXPECT_EQ(r.lblSC, "Site Cl. = ?") << c.name;
    EXPECT_EQ(r.lblYC, "Yield Cl. = ?") << c.name;
    EXPECT_FALSE(r.edtStartAge) << c.name;
  }
}

TEST_F(SiteEstimationTest, NegativeParameterWarnsOnlyWithMessages) {
  site.UserA0Fixed = true;
  site.UserA0Parameter = -0.01;
  SiteEstimate r = Estimate(/*showMessages=*/false);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(r.A0, -0.01);
  EXPECT_EQ(r.lblA0, "Rate par. = -0.0100");
  EXPECT_EQ(r.lblSI, "H(50 yr) = ?");
  Estimate();
  EXPECT_EQ(Texts(messages), std::vector<std::string>{English(site_text::NegativeParameter)});

  // A site class whose height the curve cannot take: no site index, no parameter.
  messages.clear();
  site.UserA0Fixed = false;
  store.ModelParameters[Beech][19] = -100;
  Method(ClassicalSiteClass, "0.5", "50");
  r = Estimate();
  EXPECT_EQ(site.SiteIndex, Sentinel);
  EXPECT_EQ(r.A0, Sentinel);
  EXPECT_EQ(r.lblA0, "Rate par. = -1E+24");
  EXPECT_EQ(Texts(messages), std::vector<std::string>{English(site_text::NegativeParameter)});
}

TEST_F(SiteEstimationTest, ClassicalSiteClassOutsideTheUsualRangeWarns) {
  struct Case {
    int species;
    const char* siteClass;
    const char* expected;  // the site class in the warning, or nullptr for none
  };
  const Case cases[] = {
      {Beech, "6", "6.0"}, {Beech, "5", nullptr},   {Beech, "0.5", "0.5"},
      {SilverFir, "3.5", "3.5"}, {NorwaySpruce, "7", nullptr}, {Ash, "1", nullptr},
  };
  for (const Case& c : cases) {
    species = c.species;
    messages.clear();
    Method(ClassicalSiteClass, c.siteClass, "50");
    ASSERT_GT(Estimate().A0, 0);
    if (!c.expected) {
      EXPECT_TRUE(messages.empty()) << c.species << " " << c.siteClass;
      continue;
    }
    EXPECT_EQ(Texts(messages),
              std::vector<std::string>{
                  "   Warning: In the traditional site classification system:   \r\n         (" +
                  YieldTableReferenceFor(c.species) +
                  "),   \r\n   the values specified correspond to a site class of " + c.expected +
                  ".   \r\n   Extrapolation may cause initial values to become poor!   "})
        << c.species << " " << c.siteClass;
  }
  context = {Language::Danish, ','};
  species = Beech;
  messages.clear();
  Method(ClassicalSiteClass, "6", "50");
  Estimate();
  EXPECT_EQ(Texts(messages),
            std::vector<std::string>{
                "   Advarsel: I det traditionelle boniteringssystem:   \r\n         (C. Mar. Møller (1933)),   "
                "\r\n   svarer de indtastede værdier til en bonitet 6,0.   \r\n"
                "   Ekstrapolationen kan medføre besynderlige initialværdier!   "});
}

TEST_F(SiteEstimationTest, StartAgeRisesToTheYearAfterTheYieldTableReaches2m) {
  struct Case {
    const char* name;
    const char* siteClass;
    int startAge, endAge;
    bool keyed;
    int expected;
  };
  // Beech reaches 2 m mean height at 21.9 years in site class 6, at 53.0 in 8, never in 8.9.
  const Case cases[] = {
      {"raised", "6", 20, 80, false, 22},
      {"raised from 16", "8", 16, 80, false, 54},
      {"never lowered", "2", 20, 80, false, 20},
      {"keyed start age", "6", 20, 80, true, 20},
      {"height never reached", "8.9", 20, 80, false, 20},
      {"not before the end age", "8", 20, 54, false, 20},
  };
  for (const Case& c : cases) {
    tables.TableStartAge = c.startAge;
    tables.TableEndAge = c.endAge;
    state.StartAgeKeyed = c.keyed;
    Method(ClassicalSiteClass, c.siteClass, "50");
    SiteEstimate r = Estimate(false);
    EXPECT_EQ(tables.TableStartAge, c.expected) << c.name;
    if (c.expected != c.startAge)
      EXPECT_EQ(r.edtStartAge, std::to_string(c.expected)) << c.name;
    else
      EXPECT_FALSE(r.edtStartAge) << c.name;
  }
}

TEST_F(SiteEstimationTest, StartAgeRisesToTheFirstYearWithAClassicalStand) {
  // Sitka spruce of site class 4 passes 2 m mean height before 20 years, but
  // its classical basal area is nought until 22.
  species = SitkaSpruce;
  tables.TableStartAge = 20;
  tables.TableEndAge = 80;
  ASSERT_EQ(YieldTableBasalArea(SitkaSpruce, 21, 4), 0);
  ASSERT_GT(YieldTableBasalArea(SitkaSpruce, 22, 4), 0);
  Method(ClassicalSiteClass, "4", "50");
  SiteEstimate r = Estimate(false);
  EXPECT_EQ(tables.TableStartAge, 22);
  EXPECT_EQ(r.edtStartAge, "22");
}

TEST_F(SiteEstimationTest, LabelsInTheLanguageAndDecimalSeparator) {
  context = {Language::Danish, ','};
  Method(ClassicalSiteClass, "2", "50");
  SiteEstimate r = Estimate();
  // Hg(50) = 17.69 m, Hdom = 20.08 m, A0 = P60 + P61 * 20.08.
  EXPECT_EQ(r.lblSC, "Bon.kl. = 2,00");
  EXPECT_EQ(r.lblSI, "H(50 år) = 20,1");
  EXPECT_EQ(r.lblA0, "Rate-par. = 0,0208");
  EXPECT_EQ(r.lblYC.rfind("Prod.kl. = ", 0), 0u);
  char yieldClass[16];
  std::snprintf(yieldClass, sizeof yieldClass, "%.1f", state.YieldClass);
  std::string expected = yieldClass;
  expected[expected.find('.')] = ',';
  EXPECT_EQ(r.lblYC, "Prod.kl. = " + expected);

  context = {Language::English, '.'};
  r = Estimate();
  EXPECT_EQ(r.lblSC, "Site Cl. = 2.00");
  EXPECT_EQ(r.lblSI, "H(50 yr) = 20.1");
  EXPECT_EQ(r.lblA0, "Rate par. = 0.0208");
  EXPECT_EQ(r.lblYC.rfind("Yield Cl. = ", 0), 0u);
}

TEST_F(SiteEstimationTest, ExtremeInputsNeverStoreNonFiniteValues) {
  struct Case {
    int species, method;
    const char* value;
  };
  const Case cases[] = {
      {Beech, StandHeightAtAge, "1e300"},  {Beech, StandHeightAtAge, "-1e300"},
      {Oak, ClassicalYieldClass, "1e200"}, {Beech, ClassicalSiteClass, "1e300"},
      {Beech, ClassicalSiteClass, "-8"},
  };
  for (const Case& c : cases) {
    species = c.species;
    site = {};
    state = {};
    tables = {};
    Method(c.method, c.value, "50");
    SiteEstimate r = Estimate();
    for (double v : {r.A0, site.SiteIndex, site.SiteClass, state.YieldClass, state.StandHeight,
                     state.StandHdom, state.StandHg})
      EXPECT_TRUE(std::isfinite(v)) << c.value;
    EXPECT_GE(tables.TableStartAge, 20) << c.value;
    EXPECT_LT(tables.TableStartAge, tables.TableEndAge) << c.value;
  }
}

TEST_F(SiteEstimationTest, ReestimateStoresTheParameterAndShowsItUnlessKeyedIn) {
  Method(ClassicalSiteClass, "2", "50");
  SiteEstimate r = ReestimateA0parameter(true, store, species, site, state, inputs, tables, context, messages);
  EXPECT_EQ(site.A0Parameter, r.A0);
  EXPECT_EQ(r.edtA0parameter, "0.0208");

  site.UserA0Fixed = true;
  site.UserA0Parameter = 0.03;
  r = ReestimateA0parameter(true, store, species, site, state, inputs, tables, context, messages);
  EXPECT_EQ(site.A0Parameter, 0.03);
  EXPECT_FALSE(r.edtA0parameter);
}

}  // namespace
}  // namespace orven
