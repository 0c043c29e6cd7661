#include "session/SessionFixture.h"

namespace orven {
namespace {

using test::Local;
using test::ShippedStore;
using test::Walk;
using test::WalkSteps;

// A session walked up to the choice of the preset approach (step 7 open).
Session AtRegimeChoice(bool firstLastThinning, Language language = Language::English) {
  Session s(ShippedStore(), language);
  Walk walk;
  walk.firstLastThinning = firstLastThinning;
  auto steps = WalkSteps(walk);
  for (std::size_t i = 0; i < 7; ++i) steps[i](s);  // species .. rgPresetClick
  s.TakeMessages();
  return s;
}

TEST(ThinningPreset, TrackBarsWriteTheRegimeOnlyWhileTheUserHoldsThem) {
  Session s = AtRegimeChoice(true);
  ASSERT_TRUE(s.Steps.ThinningGroupEnabled);
  EXPECT_FALSE(s.Steps.StepEnabled[8]);

  s.TrackBarEntered();
  EXPECT_TRUE(s.Steps.StepEnabled[8]);  // entering a track bar completes step 7
  s.TrackBarMoved(tbThinIstart, 8);
  EXPECT_DOUBLE_EQ(s.Regime.Regime.TargetGStart, 30);
  EXPECT_EQ(s.Regime.edtThinIstart, "30");
  s.TrackBarMoved(tbThinMend, 25);  // beyond the end: held at 20
  EXPECT_EQ(s.Regime.TrackBarPositions[tbThinMend], TrackBarMax);
  EXPECT_DOUBLE_EQ(s.Regime.Regime.QuotientEnd, 1.2);

  // Once an edit has the focus, moves come from the program and write nothing back.
  const double lastG = s.Regime.Regime.TargetGEnd;
  s.RegimeEditEntered(RegimeEdit::ThinIend);
  s.TrackBarMoved(tbThinIend, 0);
  EXPECT_EQ(s.Regime.TrackBarPositions[tbThinIend], 0);
  EXPECT_DOUBLE_EQ(s.Regime.Regime.TargetGEnd, lastG);

  // Entering the age edits of the group does not take the track bars away.
  s.TrackBarEntered();
  s.RegimeEditEntered(RegimeEdit::ThinStart);
  s.TrackBarMoved(tbThinIend, 4);
  EXPECT_DOUBLE_EQ(s.Regime.Regime.TargetGEnd, 20);
}

TEST(ThinningPreset, RegimeEditsTakeValidTextsAndKeepTheSettingOnRefusal) {
  struct Case {
    RegimeEdit edit;
    std::string text;
    bool taken;
    double (*setting)(const Session&);
    double expected;  // the setting afterwards
  };
  auto startQ = [](const Session& s) { return s.Regime.Regime.QuotientStart; };
  auto startG = [](const Session& s) { return s.Regime.Regime.TargetGStart; };
  auto firstAge = [](const Session& s) { return double(s.Regime.Regime.ThinStartAge); };
  auto lastAge = [](const Session& s) { return double(s.Regime.Regime.ThinEndAge); };
  Session probe = AtRegimeChoice(true);
  const Case cases[] = {
      {RegimeEdit::ThinIstart, "40", true, startG, 40},
      {RegimeEdit::ThinIstart, "61", false, startG, 25},
      {RegimeEdit::ThinIstart, "4x", false, startG, 25},
      {RegimeEdit::ThinMstart, Local(probe, "0.84"), true, startQ, 0.84},
      {RegimeEdit::ThinMstart, Local(probe, "1.25"), false, startQ, 0.9},
      {RegimeEdit::ThinStart, "16", true, firstAge, 16},
      {RegimeEdit::ThinStart, "80", false, firstAge, 20},  // not before the last thinning
      {RegimeEdit::ThinEnd, "20", false, lastAge, 80},     // not after the first thinning
      {RegimeEdit::ThinEnd, "250", true, lastAge, 250},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Session s = AtRegimeChoice(true);
    EXPECT_EQ(s.RegimeEditExit(c.edit, c.text), c.taken);
    EXPECT_EQ(s.TakeMessages().empty(), c.taken);
    EXPECT_DOUBLE_EQ(c.setting(s), c.expected);
  }

  // A taken value moves its track bar.
  Session s = AtRegimeChoice(true);
  ASSERT_TRUE(s.RegimeEditExit(RegimeEdit::ThinIstart, "40"));
  EXPECT_EQ(s.Regime.TrackBarPositions[tbThinIstart], TargetGPosition(40));
}

TEST(ThinningPreset, TypedTargetBasalAreaChoosesTheMatchingStandardRegime) {
  Session s = AtRegimeChoice(false);
  ASSERT_TRUE(s.Steps.TargetGGroupEnabled);
  ASSERT_TRUE(s.RegimeEditExit(RegimeEdit::TargetG, "25"));
  EXPECT_EQ(s.Regime.rgTargetG, 1);  // beech's heavy thinning
  ASSERT_TRUE(s.RegimeEditExit(RegimeEdit::TargetG, "30"));
  EXPECT_EQ(s.Regime.rgTargetG, -1);
  EXPECT_FALSE(s.RegimeEditExit(RegimeEdit::TargetG, "70"));
  EXPECT_DOUBLE_EQ(s.Regime.TargetG, 30);
}

TEST(ThinningPreset, ConstraintCellsAndTheirReading) {
  Session s = AtRegimeChoice(false);
  s.AgeRangeEntered();
  ASSERT_TRUE(s.Steps.StepEnabled[9]);
  ASSERT_FALSE(s.Steps.StepEnabled[10]);

  s.TableChanged = false;
  s.ConstraintEdited(1, 2, "30");
  s.ConstraintEdited(2, 1, "99");  // the undefined cell keeps its text
  s.ConstraintEdited(0, 3, "x");   // and so do the headings
  EXPECT_EQ(s.Regime.sgConstraints[1][2], "30");
  EXPECT_EQ(s.Regime.sgConstraints[2][1], "N.A.");
  EXPECT_EQ(s.Regime.sgConstraints[0][3], " Per cent of basal area removed in thinning");

  // Step 10 opens with the first-year state in its grid.
  EXPECT_TRUE(s.Steps.StepEnabled[10]);
  for (const std::string& cell : s.InitStateCells) EXPECT_FALSE(cell.empty());

  EXPECT_TRUE(s.ReadConstraints());
  EXPECT_DOUBLE_EQ(s.Regime.Regime.ThinVMin, 30);
  EXPECT_TRUE(s.TableChanged);

  s.ConstraintEdited(2, 2, "30");
  EXPECT_FALSE(s.ReadConstraints());  // the maximum is not above the minimum
  EXPECT_EQ(s.TakeMessages().size(), 1u);
  s.ConstraintEdited(2, 2, "3a");
  EXPECT_FALSE(s.ReadConstraints());
  EXPECT_FALSE(s.TakeMessages().empty());
}

}  // namespace
}  // namespace orven
