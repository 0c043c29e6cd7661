#include <gtest/gtest.h>

#include <string>

#include "model/ParameterStore.h"
#include "projection/RegimeControls.h"

namespace orven {
namespace {

const std::string NotTrulyLarger =
    "   One or more of the maximum values are not truely larger than the corresponding minimum values!   ";
const std::string InvalidNumber = "   Invalid character(s): String is not a valid number!   ";

int SevenPixelsPerCharacter(const std::string& text) { return 7 * static_cast<int>(text.size()); }

class RegimeControlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    page.language = Language::English;
    page.decimalSeparator = '.';
    SetTargetBasalAreas(page, Beech, SevenPixelsPerCharacter);
  }
  // Types a text into edtTargetG and leaves the edit.
  bool TypeTargetG(const std::string& text) {
    page.edtTargetG = text;
    return edtTargetGExit(page, messages);
  }
  void ExpectRegime(double targetG, double quotientStart, double quotientEnd) {
    EXPECT_DOUBLE_EQ(page.Regime.TargetGStart, targetG);
    EXPECT_DOUBLE_EQ(page.Regime.TargetGEnd, targetG);
    EXPECT_DOUBLE_EQ(page.Regime.QuotientStart, quotientStart);
    EXPECT_DOUBLE_EQ(page.Regime.QuotientEnd, quotientEnd);
  }
  void SetRow(int row, const std::string& minimum, const std::string& maximum) {
    page.sgConstraints[1][row] = minimum;
    page.sgConstraints[2][row] = maximum;
  }

  RegimePage page;
  MessageList messages;
};

TEST_F(RegimeControlsTest, HeavyThinningForBeech) {
  rgPresetClick(page, 0, messages);
  rgTargetGClick(page, 1);
  EXPECT_EQ(page.rgTargetG, 1);
  EXPECT_DOUBLE_EQ(page.TargetG, 25);
  EXPECT_EQ(page.edtTargetG, "25");
  ExpectRegime(25, 0.90, 1.00);
  EXPECT_EQ(page.TrackBarPositions, (std::array<int, 4>{6, 6, 5, 10}));
  EXPECT_EQ(page.edtThinIstart, "25");
  EXPECT_EQ(page.edtThinIend, "25");
  EXPECT_EQ(page.edtThinMstart, "0.90");
  EXPECT_EQ(page.edtThinMend, "1.00");
  EXPECT_TRUE(messages.empty());
}

TEST_F(RegimeControlsTest, EditsUseTheSystemsDecimalSeparator) {
  page.decimalSeparator = ',';
  rgPresetClick(page, 0, messages);
  rgTargetGClick(page, 0);
  EXPECT_EQ(page.edtThinMstart, "0,85");
  EXPECT_EQ(page.edtThinMend, "0,95");
  EXPECT_TRUE(TypeTargetG("27,5"));
  EXPECT_EQ(page.edtThinIstart, "28");  // 27.5 with no decimals, halves to even
  EXPECT_FALSE(TypeTargetG("27.5"));
}

TEST_F(RegimeControlsTest, RegimeItemsArePaddedToTheMinimumWidth) {
  struct Case {
    int pixelsPerCharacter;
    const char* heavyItem;
  };
  // "Heavy thinning" and "(25 m2/ha)" are 24 characters together.
  const Case cases[] = {
      {10, "Heavy thinning  (25 m2/ha)"},             // always two blanks at least
      {5, "Heavy thinning            (25 m2/ha)"},   // 36 characters reach 180 pixels
  };
  for (const Case& c : cases) {
    SetTargetBasalAreas(page, Beech, [&](const std::string& text) {
      return c.pixelsPerCharacter * static_cast<int>(text.size());
    });
    EXPECT_EQ(page.rgTargetGItems[1], c.heavyItem);
  }
  page.language = Language::Danish;
  SetTargetBasalAreas(page, SilverFir, SevenPixelsPerCharacter);
  EXPECT_EQ(page.rgTargetGItems[0], "Svag tynding    (45 m2/ha)");
  EXPECT_EQ(page.rgTargetGItems[2], "Meget hård tynding  (25 m2/ha)");
}

TEST_F(RegimeControlsTest, TypedTargetGBetweenThePresetsGivesACustomRegime) {
  struct Case {
    const char* text;
    double targetG, quotientStart, quotientEnd;
    const char* edtThinMstart;
  };
  const Case cases[] = {
      {"30", 30, 0.88, 0.96, "0.88"},  // 87.5 rounds to even
      {"50", 50, 0.8, 0.91, "0.80"},   // 0.78 is held at 0.8
      {"10", 10, 0.98, 1.0, "0.98"},   // 97.5 rounds to even; 1.01 is held at 1.0
  };
  rgPresetClick(page, 0, messages);
  for (const Case& c : cases) {
    rgTargetGClick(page, 1);
    ASSERT_TRUE(TypeTargetG(c.text)) << c.text;
    EXPECT_EQ(page.rgTargetG, -1) << c.text;
    ExpectRegime(c.targetG, c.quotientStart, c.quotientEnd);
    EXPECT_EQ(page.edtThinMstart, c.edtThinMstart);
    EXPECT_EQ(page.TrackBarPositions[tbThinMstart], QuotientPosition(c.quotientStart));
    EXPECT_EQ(page.edtTargetG, c.text);
  }
}

TEST_F(RegimeControlsTest, TargetGNearAPresetSelectsIt) {
  rgPresetClick(page, 0, messages);
  ASSERT_TRUE(TypeTargetG("25.0004"));
  EXPECT_EQ(page.rgTargetG, 1);
  EXPECT_DOUBLE_EQ(page.TargetG, 25);
  EXPECT_EQ(page.edtTargetG, "25");
  ExpectRegime(25, 0.90, 1.00);
}

TEST_F(RegimeControlsTest, TargetGEditRefusesOutOfRangeText) {
  rgPresetClick(page, 0, messages);
  rgTargetGClick(page, 2);
  messages.clear();
  EXPECT_FALSE(TypeTargetG("61"));
  EXPECT_FALSE(TypeTargetG("x1"));
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].Text, "   The value entered (61) is out or range!   \r\n   The valid range is: 10 - 60   ");
  EXPECT_EQ(messages[1].Text, InvalidNumber + "  \"x1\"");
  EXPECT_EQ(page.rgTargetG, 2);
  EXPECT_DOUBLE_EQ(page.TargetG, 15);
}

TEST_F(RegimeControlsTest, SpeciesChangeReappliesTheChosenRegime) {
  rgPresetClick(page, 0, messages);
  rgTargetGClick(page, 1);
  SetTargetBasalAreas(page, NorwaySpruce, SevenPixelsPerCharacter);
  EXPECT_EQ(page.rgTargetG, 1);
  EXPECT_DOUBLE_EQ(page.TargetG, 35);
  EXPECT_EQ(page.edtTargetG, "35");
  ExpectRegime(35, 0.90, 1.00);
  EXPECT_EQ(page.TrackBarPositions[tbThinIstart], 10);
  EXPECT_EQ(page.rgTargetGItems[1], "Heavy thinning  (35 m2/ha)");

  // With no regime chosen, none gets chosen.
  ASSERT_TRUE(TypeTargetG("30"));
  SetTargetBasalAreas(page, Beech, SevenPixelsPerCharacter);
  EXPECT_EQ(page.rgTargetG, -1);
  EXPECT_DOUBLE_EQ(page.TargetG, 30);
}

TEST_F(RegimeControlsTest, StandardRegimeApproachAppliesTheTargetGEdit) {
  rgPresetClick(page, 1, messages);
  rgMeasureClick(page, 1, messages);
  ASSERT_FALSE(page.Regime.MeasureIsBasalArea);

  rgPresetClick(page, 0, messages);
  EXPECT_EQ(page.rgMeasure, 0);
  EXPECT_TRUE(page.Regime.MeasureIsBasalArea);
  EXPECT_EQ(page.lblThinIset, "Gtarg.");
  ExpectRegime(20, 0.92, 0.99);  // the default 20 as a custom regime: 92.5 and 98.75 rounded

  rgTargetGClick(page, 0);
  page.edtTargetG.clear();
  rgPresetClick(page, 0, messages);
  EXPECT_EQ(page.rgTargetG, -1);
}

TEST_F(RegimeControlsTest, TrackBarPositionsMapBothWays) {
  struct Case {
    int position;
    double targetG, targetRS, quotient;
  };
  for (const Case c : {Case{0, 10, 10, 0.8}, Case{6, 25, 22, 0.92}, Case{10, 35, 30, 1.0},
                       Case{20, 60, 50, 1.2}}) {
    EXPECT_DOUBLE_EQ(TargetGAtPosition(c.position), c.targetG);
    EXPECT_DOUBLE_EQ(TargetRSAtPosition(c.position), c.targetRS);
    EXPECT_DOUBLE_EQ(QuotientAtPosition(c.position), c.quotient);
  }
  for (int p = 0; p <= TrackBarMax; ++p) {
    EXPECT_EQ(TargetGPosition(TargetGAtPosition(p)), p);
    EXPECT_EQ(TargetRSPosition(TargetRSAtPosition(p)), p);
    EXPECT_EQ(QuotientPosition(QuotientAtPosition(p)), p);
  }
  EXPECT_EQ(TargetGPosition(27), 7);  // 6.8
  EXPECT_EQ(TargetGPosition(11.25), 0);  // 0.5: halves to even
  EXPECT_EQ(TargetGPosition(13.75), 2);  // 1.5
}

TEST_F(RegimeControlsTest, MovingATrackBarWritesTheUserDefinedRegime) {
  rgPresetClick(page, 0, messages);
  rgTargetGClick(page, 1);
  rgPresetClick(page, 1, messages);
  ASSERT_EQ(page.rgTargetG, 1);

  TrackBarEnter(page);
  SetTrackBarPosition(page, tbThinIstart, 12);
  EXPECT_EQ(page.rgTargetG, -1);
  EXPECT_DOUBLE_EQ(page.Regime.TargetGStart, 40);
  EXPECT_DOUBLE_EQ(page.Regime.TargetGEnd, 25);
  EXPECT_EQ(page.edtThinIstart, "40");

  SetTrackBarPosition(page, tbThinMend, 25);  // the widget holds it at its maximum
  EXPECT_EQ(page.TrackBarPositions[tbThinMend], TrackBarMax);
  EXPECT_DOUBLE_EQ(page.Regime.QuotientEnd, 1.2);
  EXPECT_EQ(page.edtThinMend, "1.20");
}

TEST_F(RegimeControlsTest, TypedValuesMoveTheTrackBarWithoutWritingBack) {
  rgPresetClick(page, 0, messages);
  rgTargetGClick(page, 1);
  rgPresetClick(page, 1, messages);
  ThinEditEnter(page);
  page.edtThinIstart = "27";
  ASSERT_TRUE(ReadThinIstart(page, messages));
  EXPECT_EQ(page.TrackBarPositions[tbThinIstart], 7);
  EXPECT_DOUBLE_EQ(page.Regime.TargetGStart, 27);  // not the 27.5 of position 7
  EXPECT_EQ(page.rgTargetG, -1);

  page.edtThinMend = "0.81";
  ASSERT_TRUE(ReadThinMend(page, messages));
  EXPECT_DOUBLE_EQ(page.Regime.QuotientEnd, 0.81);
  EXPECT_DOUBLE_EQ(page.Regime.TargetGStart, 27);
  EXPECT_EQ(page.edtThinIstart, "27");
  EXPECT_TRUE(messages.empty());
}

TEST_F(RegimeControlsTest, RegimeEditsCheckTheirRanges) {
  struct Case {
    int measure;
    std::string RegimePage::*edit;
    bool (*read)(RegimePage&, MessageList&);
    const char* text;
    bool accepted;
    const char* range;  // the end of the out-of-range message
  };
  const Case cases[] = {
      {0, &RegimePage::edtThinIend, ReadThinIend, "55", true, nullptr},
      {1, &RegimePage::edtThinIend, ReadThinIend, "55", false, "10 - 50   "},
      {1, &RegimePage::edtThinIstart, ReadThinIstart, "50", true, nullptr},
      {0, &RegimePage::edtThinMstart, ReadThinMstart, "0.8", true, nullptr},
      {0, &RegimePage::edtThinMstart, ReadThinMstart, "1.2", true, nullptr},
      {0, &RegimePage::edtThinMend, ReadThinMend, "1.21", false, "0.8 - 1.2   "},
      {0, &RegimePage::edtThinStart, edtThinStartExit, "79", true, nullptr},
      {0, &RegimePage::edtThinStart, edtThinStartExit, "80", false, "16 - 79   "},
      {0, &RegimePage::edtThinStart, edtThinStartExit, "30.5", false, nullptr},
      {0, &RegimePage::edtThinEnd, edtThinEndExit, "20", false, "21 - 250   "},
      {0, &RegimePage::edtThinEnd, edtThinEndExit, "250", true, nullptr},
  };
  for (const Case& c : cases) {
    RegimePage fresh;
    fresh.decimalSeparator = '.';
    fresh.language = Language::English;
    rgPresetClick(fresh, 1, messages);
    rgMeasureClick(fresh, c.measure, messages);
    const RegimeSettings before = fresh.Regime;
    const std::array<int, 4> positions = fresh.TrackBarPositions;
    messages.clear();
    fresh.*c.edit = c.text;
    EXPECT_EQ(c.read(fresh, messages), c.accepted) << c.text;
    if (c.accepted) {
      EXPECT_TRUE(messages.empty()) << c.text;
      continue;
    }
    ASSERT_EQ(messages.size(), 1u) << c.text;
    if (c.range) {
      EXPECT_TRUE(messages[0].Text.ends_with(c.range)) << messages[0].Text;
    }
    EXPECT_EQ(fresh.Regime.ThinStartAge, before.ThinStartAge);
    EXPECT_EQ(fresh.Regime.ThinEndAge, before.ThinEndAge);
    EXPECT_DOUBLE_EQ(fresh.Regime.TargetRSEnd, before.TargetRSEnd);
    EXPECT_DOUBLE_EQ(fresh.Regime.QuotientEnd, before.QuotientEnd);
    EXPECT_EQ(fresh.TrackBarPositions, positions);
  }
}

TEST_F(RegimeControlsTest, MeasureSwitchEmptiesRow4AndMarksTheTableChanged) {
  rgPresetClick(page, 1, messages);
  SetRow(4, "10", "30");
  EXPECT_TRUE(ReadConstraints(page, true, messages));
  EXPECT_DOUBLE_EQ(page.Regime.RemRSMin, 10);
  EXPECT_DOUBLE_EQ(page.Regime.RemRSMax, 30);
  EXPECT_EQ(page.sgConstraints[0][4], " Relative spacing after thinning (in per cent)");

  EXPECT_TRUE(rgMeasureClick(page, 1, messages));
  EXPECT_EQ(page.sgConstraints[1][4], "");
  EXPECT_EQ(page.sgConstraints[2][4], "");
  EXPECT_EQ(page.sgConstraints[0][4], " Target residual basal area after thinning (m2/ha)");
  EXPECT_DOUBLE_EQ(page.Regime.RemRSMin, -10000);
  EXPECT_DOUBLE_EQ(page.Regime.RemRSMax, 10000);
  EXPECT_FALSE(page.Regime.MeasureIsBasalArea);
  EXPECT_EQ(page.lblThinIset, "RS%");
  EXPECT_EQ(page.IntensityUnit, " %");
  EXPECT_EQ(page.lblI, (std::array<std::string, 3>{"10", "30", "50%"}));
  EXPECT_EQ(page.edtThinIstart, "30.0");  // position 10 read as relative spacing

  // Nothing held in row 4: nothing changed.
  EXPECT_FALSE(rgMeasureClick(page, 0, messages));
  EXPECT_EQ(page.lblI, (std::array<std::string, 3>{"10", "35", "60 m2/ha"}));
  EXPECT_TRUE(messages.empty());
}

TEST_F(RegimeControlsTest, EqualMinimumAndMaximumAreRefused) {
  struct Case {
    int preset, measure, row;
    double RegimeSettings::*minimum;
  };
  const Case cases[] = {
      {0, 0, 2, &RegimeSettings::ThinVMin},
      {0, 0, 3, &RegimeSettings::ThinPctMin},
      {1, 0, 4, &RegimeSettings::RemRSMin},
      {1, 1, 4, &RegimeSettings::RemGMin},
  };
  for (const Case& c : cases) {
    RegimePage fresh;
    fresh.language = Language::English;
    rgPresetClick(fresh, c.preset, messages);
    rgMeasureClick(fresh, c.measure, messages);
    messages.clear();
    fresh.sgConstraints[1][c.row] = "30";
    fresh.sgConstraints[2][c.row] = "30";
    EXPECT_TRUE(ReadConstraints(fresh, true, messages));
    ASSERT_EQ(messages.size(), 1u) << "row " << c.row;
    EXPECT_EQ(messages[0].Text, NotTrulyLarger);
    EXPECT_DOUBLE_EQ(fresh.Regime.*c.minimum, 30);  // the bounds stay as read
  }
  // The basal-area window has no maximum: a minimum above 10000 is refused.
  SetRow(1, "10001", "");
  ReadConstraints(page, true, messages);
  EXPECT_EQ(messages.back().Text, NotTrulyLarger);
}

TEST_F(RegimeControlsTest, UnconvertibleCellStopsReading) {
  rgPresetClick(page, 0, messages);
  page.decimalSeparator = ',';
  SetRow(1, "20000", "N.A.");  // the maximum cell of row 1 is never read
  SetRow(2, "12,5", "1.5");    // a point is no decimal separator here
  SetRow(3, "5", "");
  EXPECT_TRUE(ReadConstraints(page, true, messages));
  EXPECT_DOUBLE_EQ(page.Regime.ThinGMin, 20000);
  EXPECT_DOUBLE_EQ(page.Regime.ThinVMin, 12.5);
  EXPECT_DOUBLE_EQ(page.Regime.ThinVMax, 10000);
  EXPECT_DOUBLE_EQ(page.Regime.ThinPctMin, -10000);
  ASSERT_EQ(messages.size(), 2u);  // the bounds are still compared
  EXPECT_EQ(messages[0].Text, InvalidNumber);
  EXPECT_EQ(messages[1].Text, NotTrulyLarger);
}

TEST_F(RegimeControlsTest, ReadConstraintsMarksOnlyRealChanges) {
  rgPresetClick(page, 0, messages);
  SetRow(2, "", "40");
  SetRow(3, "-5", "35.5");
  EXPECT_FALSE(ReadConstraints(page, false, messages));
  EXPECT_DOUBLE_EQ(page.Regime.ThinVMin, -10000);
  EXPECT_DOUBLE_EQ(page.Regime.ThinVMax, 40);
  EXPECT_DOUBLE_EQ(page.Regime.ThinPctMin, -5);
  EXPECT_DOUBLE_EQ(page.Regime.ThinPctMax, 35.5);
  EXPECT_FALSE(ReadConstraints(page, true, messages));
  SetRow(2, "", "");
  EXPECT_TRUE(ReadConstraints(page, true, messages));
  EXPECT_DOUBLE_EQ(page.Regime.ThinVMax, 10000);
  EXPECT_TRUE(messages.empty());
}

TEST_F(RegimeControlsTest, ConstraintHeadingsFollowTheApproachAndLanguage) {
  struct Case {
    Language language;
    int preset, measure;
    const char* row4;
  };
  const Case cases[] = {
      {Language::English, -1, 0, " (Not defined until choice in Box 6 has been made)"},
      {Language::Danish, -1, 0, " (Ikke defineret før valg i Boks 6 er udført)"},
      {Language::Danish, 0, 0, " Relativ træafstand efter tynding (i procent)"},
      {Language::Danish, 1, 1, " Målgrundflade efter tynding (m2/ha)"},
      {Language::English, 1, 0, " Relative spacing after thinning (in per cent)"},
  };
  for (const Case& c : cases) {
    RegimePage fresh;
    fresh.language = c.language;
    fresh.rgPreset = c.preset;
    fresh.rgMeasure = c.measure;
    SetConstraintHeadings(fresh);
    EXPECT_EQ(fresh.sgConstraints[0][4], c.row4);
  }
  page.language = Language::Danish;
  SetConstraintHeadings(page);
  EXPECT_EQ(page.sgConstraints[0][1], " Grundflade før tynding, for at tynding udføres (m2/ha)");
  EXPECT_EQ(page.sgConstraints[0][2], " Vedmasseudtag i tyndingen (i m3/ha)");
  EXPECT_EQ(page.sgConstraints[0][3], " Tyndingens procentuelle andel af grundfladen");
  EXPECT_EQ(page.sgConstraints[1][0], " Minimum");
  EXPECT_EQ(page.sgConstraints[2][0], " Maximum");
  EXPECT_EQ(page.sgConstraints[2][1], "UDEF.");
  page.language = Language::English;
  SetConstraintHeadings(page);
  EXPECT_EQ(page.sgConstraints[0][1], " Stand basal area required to execute thinnings (m2/ha)");
  EXPECT_EQ(page.sgConstraints[0][2], " Volume removed in thinning (m3/ha)");
  EXPECT_EQ(page.sgConstraints[0][3], " Per cent of basal area removed in thinning");
  EXPECT_EQ(page.sgConstraints[2][1], "N.A.");

  EXPECT_FALSE(ConstraintCellSelectable(0, 2));
  EXPECT_FALSE(ConstraintCellSelectable(2, 1));
  EXPECT_TRUE(ConstraintCellSelectable(1, 1));
  EXPECT_TRUE(ConstraintCellSelectable(2, 4));
}

TEST_F(RegimeControlsTest, DanishTextsOfTheIntensityColumnAndMessages) {
  page.language = Language::Danish;
  rgPresetClick(page, 1, messages);
  rgMeasureClick(page, 1, messages);
  EXPECT_EQ(page.lblThinIset, "RTA%");
  rgMeasureClick(page, 0, messages);
  EXPECT_EQ(page.lblThinIset, "Mål-G");
  SetRow(2, "30", "30");
  ReadConstraints(page, true, messages);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Text,
            "   En eller flere af de angivne maximumsværdier er ikke større end de modsvarende "
            "minimumsværdier!   ");
}

}  // namespace
}  // namespace orven
