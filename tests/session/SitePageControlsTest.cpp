#include "app/session/SitePageControls.h"

#include "session/SessionFixture.h"

namespace orven {
namespace {

using test::ShippedStore;

TEST(SitePageControls, EachSiteMethodShowsItsOwnInputs) {
  struct Case {
    int method;
    Step4Inputs shown;
  };
  const Case cases[] = {
      {-1, {.Inventory = true}},  // the layout of a reset page
      {RepeatedInventories, {.Inventory = true}},
      {StandHeightAtAge, {.SiteIndexBox = true, .StandHeight = true, .StandAge = true}},
      {ClassicalSiteClass, {.SiteIndexBox = true, .SiteClass = true, .StandAge = true}},
      {ClassicalYieldClass, {.SiteIndexBox = true, .YieldClass = true, .StandAge = true}},
      {SoilTexture, {.Soil = true}},
  };
  for (const Case& c : cases) EXPECT_EQ(ShowStep4(c.method), c.shown) << "method " << c.method;
}

TEST(SitePageControls, StepsOpenTheControlsOneAfterAnother) {
  Session s(ShippedStore(), Language::English, '.');
  SitePageControls c = SiteControls(s);
  EXPECT_TRUE(c.Species && c.HelpButton && c.SiteQualityBox);
  EXPECT_FALSE(c.SiteQuality || c.Height || c.SiteInputs || c.Gcorrection || c.Volume);
  EXPECT_FALSE(c.A0BoxShown);
  EXPECT_TRUE(c.StepEnabled[1] && c.StepBlue[1]);
  EXPECT_FALSE(c.StepEnabled[2]);

  s.rgSpeciesClick(0);
  s.rgSiteQualityClick(StandHeightAtAge);
  c = SiteControls(s);
  EXPECT_TRUE(c.SiteQuality && c.Height);
  EXPECT_FALSE(c.SiteInputs);
  EXPECT_TRUE(c.Shown.StandHeight);
  EXPECT_FALSE(c.StepBlue[2]);
  EXPECT_TRUE(c.StepBlue[3]);

  s.rgHeightClick(0);
  c = SiteControls(s);
  EXPECT_TRUE(c.SiteInputs && c.Gcorrection);
  EXPECT_FALSE(c.Volume);
  s.SiteInputEntered();
  c = SiteControls(s);
  EXPECT_TRUE(c.Volume && c.StepBlue[5]);
  EXPECT_FALSE(c.StepBlue[4]);
}

TEST(SitePageControls, TheGrowthParameterFieldFollowsTheKeyedInMode) {
  Session s(ShippedStore(), Language::English, '.');
  s.SiteView.ShowA0param = true;
  SitePageControls c = SiteControls(s);
  EXPECT_TRUE(c.A0BoxShown && c.A0Box);
  EXPECT_FALSE(c.A0Keyed || c.A0Edit);

  s.ChangeA0parameterSettings();
  c = SiteControls(s);
  EXPECT_TRUE(c.A0Keyed && c.A0Edit);
  s.ChangeA0parameterSettings();
  EXPECT_FALSE(SiteControls(s).A0Edit);
}

TEST(SitePageControls, TypedTableValuesLockTheSiteInputs) {
  Session s(ShippedStore(), Language::English, '.');
  test::WalkThrough(s, {});
  s.ChangeA0parameterSettings();
  SitePageControls open = SiteControls(s);
  ASSERT_TRUE(open.Species && open.SiteInputs && open.Volume && open.Gcorrection && open.A0Edit);

  // A typed first-year value locks what the table was estimated from.
  s.Tables.StateTableTyped = true;
  SitePageControls c = SiteControls(s);
  EXPECT_FALSE(c.Species || c.SiteQuality || c.Height || c.SiteInputs || c.SiteQualityBox || c.A0Box || c.A0Edit);
  EXPECT_TRUE(c.Volume && c.Gcorrection && c.HelpButton);
  EXPECT_TRUE(c.A0Keyed);  // the field still says which parameter is used

  // Typed thinnings lock the growth inputs as well.
  s.Tables.StateTableTyped = false;
  s.Tables.ThinTableTyped = true;
  c = SiteControls(s);
  EXPECT_FALSE(c.Species || c.Volume || c.Gcorrection || c.HelpButton);
  // The step numbers keep showing the workflow.
  EXPECT_TRUE(c.StepEnabled[1] && c.StepEnabled[5]);
}

}  // namespace
}  // namespace orven
