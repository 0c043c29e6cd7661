#include "session/SessionFixture.h"

#include <cmath>

#include "messages/NumberText.h"
#include "model/YieldTable.h"

namespace orven {
namespace {

using test::FileLines;
using test::JoinLines;
using test::Local;
using test::ShippedStore;
using test::WalkThrough;
using test::Walk;

class SettingsFileTest : public ::testing::Test {
protected:
  // Saves the session and returns the file's bytes.
  std::string Save(Session& session, const std::string& name) {
    const std::string path = folder.PathOf(name);
    EXPECT_TRUE(session.Save(path));
    return test::ReadBytes(path);
  }
  std::string Write(const std::string& name, const std::vector<std::string>& lines) {
    return folder.Write(name, JoinLines(lines));
  }

  test::TemporaryFolder folder;
};

struct RoundTrip {
  const char* name;
  Language language;
  char decimalSeparator;
  Walk walk;
  bool typedValues;
  bool keyedParameter;
};

TEST_F(SettingsFileTest, SaveOpenSaveGivesTheSameBytesAndTheSameTable) {
  const RoundTrip cases[] = {
      {"danish-site-class", Language::Danish, ',', {}, false, false},
      {"english-inventory-spacing", Language::English, '.',
       {NorwaySpruce, RepeatedInventories, true, 2, true, true, "90", true}, false, false},
      {"danish-comma-first-last", Language::Danish, ',',
       {DouglasFir, SoilTexture, false, 1, true, false, "80", true}, false, true},
      {"english-typed", Language::English, '.', {Oak, ClassicalYieldClass, false, 3}, true, false},
      {"danish-comma-typed", Language::Danish, ',', {Ash, StandHeightAtAge, true, 0}, true, true},
  };
  for (const RoundTrip& c : cases) {
    SCOPED_TRACE(c.name);
    Session saved(ShippedStore(), c.language, c.decimalSeparator);
    WalkThrough(saved, c.walk);
    if (c.keyedParameter) {
      saved.ChangeA0parameterSettings();
      saved.ShowTablesPage();  // site inputs take effect at the next recomputation
    }
    if (c.typedValues) {
      saved.InitStateCells[1] = Local(saved, "9.5");  // the first-year diameter
      saved.ReadInitialState();
      test::TypeCell(saved, ResultGrid::Thinning, G2, test::SecondThinningAge(saved), Local(saved, "2.25"));
      ASSERT_TRUE(saved.Tables.StateTableTyped && saved.Tables.ThinTableTyped);
      EXPECT_TRUE(saved.TableChanged);
    }
    saved.Description = {"Første linje", "", "tredje linje: æøå ÆØÅ"};
    saved.TakeMessages();

    const std::string bytes = Save(saved, std::string(c.name) + ".orven");
    EXPECT_FALSE(saved.TableChanged);
    const std::vector<std::string> lines = FileLines(bytes);
    ASSERT_GE(lines.size(), 37u);
    EXPECT_EQ(lines.size() > 37, c.typedValues);
    if (c.decimalSeparator == ',' && c.walk.firstLastThinning) {
      EXPECT_EQ(lines[30].substr(0, 9), "     0,85");  // the thinning-mode edit as typed
    }

    Session opened(ShippedStore(), c.language, c.decimalSeparator);
    const std::string path = folder.PathOf(std::string(c.name) + ".orven");
    ASSERT_EQ(opened.Open(path), OpenOutcome::Opened);
    EXPECT_EQ(opened.SettingsFileText(), bytes);
    EXPECT_EQ(opened.ExportText(TabDelimiter), saved.ExportText(TabDelimiter));
    EXPECT_EQ(opened.Description, saved.Description);
    EXPECT_EQ(opened.Site.UserA0Fixed, c.keyedParameter);
    EXPECT_EQ(opened.CurrentFileName, path);
    EXPECT_FALSE(opened.TableChanged);
    EXPECT_TRUE(opened.Steps.FinalEnabled);
  }
}

TEST_F(SettingsFileTest, TheFileIsWindows1252WithTheDescriptionOnOneLine) {
  Session session(ShippedStore(), Language::Danish, ',');
  WalkThrough(session, {});
  session.Description = {"Bøg på god jord", "næste"};
  const std::string bytes = Save(session, "danish.orven");
  const std::vector<std::string> lines = FileLines(bytes);
  EXPECT_EQ(lines[1], "B\xF8g p\xE5 god jord\xACn\xE6ste\xAC");
  EXPECT_EQ(lines[2], "  0      {Nummer p\xE5 tr\xE6" "arten}");
  EXPECT_EQ(bytes.find('\xC3'), std::string::npos) << "UTF-8 in the file";

  // A last piece without the line-end mark is a line too.
  std::vector<std::string> edited = lines;
  edited[1] = "en\xAC" "to";
  Session opened(ShippedStore(), Language::Danish, ',');
  ASSERT_EQ(opened.Open(Write("unterminated.orven", edited)), OpenOutcome::Opened);
  EXPECT_EQ(opened.Description, (std::vector<std::string>{"en", "to"}));
}

TEST_F(SettingsFileTest, TypedValueIsStoredWithSevenSignificantDigits) {
  Session session(ShippedStore(), Language::English, '.');
  WalkThrough(session, {});
  test::TypeCell(session, ResultGrid::BeforeThin, D1, session.Tables.TableStartAge, "12.3456789");
  ASSERT_TRUE(session.Tables.Typed(D1, 0));
  const std::vector<std::string> lines = FileLines(Save(session, "typed.orven"));
  ASSERT_EQ(lines.size(), 38u);
  EXPECT_EQ(lines[37], "  3   1  1.234568E+0001");

  Session opened(ShippedStore(), Language::English, '.');
  ASSERT_EQ(opened.Open(folder.PathOf("typed.orven")), OpenOutcome::Opened);
  EXPECT_TRUE(opened.Tables.Typed(D1, 0));
  EXPECT_EQ(opened.Tables.StandTable[D1][0], 12.34568);
  EXPECT_TRUE(opened.Tables.StateTableTyped);
  EXPECT_FALSE(opened.Tables.ThinTableTyped);
  EXPECT_EQ(opened.Tables.StateTypedCount, 1);
}

TEST_F(SettingsFileTest, WithoutKeyedParameterLine13HoldsTheFixedTextAndTheCalculatedOneStaysInUse) {
  Session session(ShippedStore(), Language::English, '.');
  WalkThrough(session, {});
  ASSERT_NE(session.Site.A0Parameter, 0.01);
  const std::vector<std::string> lines = FileLines(Save(session, "calculated.orven"));
  EXPECT_EQ(lines[12], "  0 0.010000      {Use of user-specified a0 site parameter}");

  // The species click of the reader presets beech's keyed-in parameter; line 13 then overwrites it.
  Session opened(ShippedStore(), Language::English, '.');
  ASSERT_EQ(opened.Open(folder.PathOf("calculated.orven")), OpenOutcome::Opened);
  EXPECT_EQ(opened.Site.UserA0Parameter, 0.01);
  EXPECT_FALSE(opened.Site.UserA0Fixed);
  EXPECT_EQ(opened.Site.A0Parameter, session.Site.A0Parameter);
  EXPECT_EQ(opened.Site.GrowthRateParameter(), session.Site.A0Parameter);
  EXPECT_EQ(opened.SiteView.edtA0parameter, FormatFixed(session.Site.A0Parameter, 4, '.'));
}

TEST_F(SettingsFileTest, AxisVariablesOutsideTheCatalogueOpenAsNoVariable) {
  Session session(ShippedStore(), Language::English, '.');
  WalkThrough(session, {});
  std::vector<std::string> lines = FileLines(Save(session, "axes.orven"));
  lines[16] = " 99  0 -3 46  0  0  0      {Variables shown on the X axes of the graphs}";
  Session opened(ShippedStore(), Language::English, '.');
  ASSERT_EQ(opened.Open(Write("edited.orven", lines)), OpenOutcome::Opened);
  EXPECT_EQ(opened.GraphXVariable, (std::array<int, GraphCount>{NoVariable, 0, NoVariable, NoVariable, 0, 0, 0}));
  EXPECT_EQ(opened.GraphYVariable, session.GraphYVariable);
}

TEST_F(SettingsFileTest, ATableWithoutTypedValuesIsExactly37Lines) {
  Session session(ShippedStore(), Language::Danish, ',');
  WalkThrough(session, {});
  const std::string bytes = Save(session, "plain.orven");
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 37);
  EXPECT_EQ(bytes.size() - bytes.find_last_of('\n'), 1u) << "the last line ends with CRLF";
  for (const std::string& line : FileLines(bytes)) EXPECT_EQ(line.find('\n'), std::string::npos);
}

TEST_F(SettingsFileTest, AFileSavedInDanishOpensInEnglish) {
  Walk walk{SitkaSpruce, StandHeightAtAge, true, 0, true, true, "80", true};
  Session danish(ShippedStore(), Language::Danish, '.');
  WalkThrough(danish, walk);
  Save(danish, "danish.orven");
  Session english(ShippedStore(), Language::English, '.');
  WalkThrough(english, walk);

  Session opened(ShippedStore(), Language::English, '.');
  ASSERT_EQ(opened.Open(folder.PathOf("danish.orven")), OpenOutcome::Opened);
  EXPECT_EQ(opened.SettingsFileText(), english.SettingsFileText());
  EXPECT_EQ(opened.ExportText(TabDelimiter), english.ExportText(TabDelimiter));
  EXPECT_EQ(opened.Regime.sgConstraints[2][1], "N.A.");
}

TEST_F(SettingsFileTest, ThinningEditsWithADecimalCommaReadOnAnySystem) {
  Session session(ShippedStore(), Language::English, '.');
  WalkThrough(session, {Beech, ClassicalSiteClass, true, 0, true});
  std::vector<std::string> lines = FileLines(Save(session, "comma.orven"));
  lines[28] = "     27,5      {Thinning intensity, start}";
  lines[30] = "      0,9      {Thinning mode, start}";
  lines[20] = "  12,5      {Stand height}";

  Session opened(ShippedStore(), Language::English, '.');
  ASSERT_EQ(opened.Open(Write("edited.orven", lines)), OpenOutcome::Opened);
  const RegimeSettings& regime = opened.Regime.Regime;
  EXPECT_EQ(regime.QuotientStart, 0.9);
  EXPECT_EQ(opened.Regime.edtThinMstart, "0.90");
  EXPECT_EQ(opened.Regime.TrackBarPositions[tbThinMstart], std::lround((0.9 - 0.8) * TrackBarMax / 0.4));
  EXPECT_EQ(regime.TargetGStart, 27.5);
  EXPECT_EQ(opened.Regime.edtThinIstart, "27.5");
  EXPECT_EQ(opened.Regime.TrackBarPositions[tbThinIstart], std::lround((27.5 - 10) * TrackBarMax / 50));
  EXPECT_EQ(opened.SiteView.Inputs.edtStandHeight, "12.5");
}

TEST_F(SettingsFileTest, ThinningAgesAreRestoredIntoTheYearList) {
  Session session(ShippedStore(), Language::English, '.');
  WalkThrough(session, {});
  std::vector<std::string> lines = FileLines(Save(session, "ages.orven"));
  lines[11] = "  2      {Way to define thinning interval}";
  lines[33] = "  3   30 34 40       {Years of thinning}";
  Session opened(ShippedStore(), Language::English, '.');
  ASSERT_EQ(opened.Open(Write("edited.orven", lines)), OpenOutcome::Opened);
  EXPECT_EQ(opened.Schedule.edtThinYear, "30, 34, 40, ");
  EXPECT_TRUE(opened.Tables.IsThinningAge(34));
  EXPECT_FALSE(opened.Tables.IsThinningAge(37));
  EXPECT_EQ(FileLines(opened.SettingsFileText())[33], lines[33]);
}

TEST_F(SettingsFileTest, TheFontSizeOfTheFileSetsTheChartFontsToo) {
  Session session(ShippedStore(), Language::English, '.');
  WalkThrough(session, {});
  std::vector<std::string> lines = FileLines(Save(session, "fonts.orven"));
  const struct { int size; double chartFactor; } cases[] = {{8, 1.0}, {9, 1.2}, {11, 1.2}, {12, 1.44}};
  for (const auto& c : cases) {
    lines[32] = "  " + std::to_string(c.size) + "      {Font size}";
    Session opened(ShippedStore(), Language::English, '.');
    // Steps taken before opening must not carry over into the file's size.
    opened.IncreaseFontSize();
    if (c.size > 10) opened.DecreaseFontSize();
    ASSERT_EQ(opened.Open(Write("edited.orven", lines)), OpenOutcome::Opened) << c.size;
    EXPECT_EQ(opened.TableFontSize, c.size);
    EXPECT_NEAR(opened.GraphFontFactor, c.chartFactor, 1e-9) << c.size;
  }
}

TEST_F(SettingsFileTest, AnEmptyColumnListReadsBackEmpty) {
  Session session(ShippedStore(), Language::English, '.');
  WalkThrough(session, {});
  std::vector<std::string> lines = FileLines(Save(session, "columns.orven"));
  lines[14] = "  0         {Variables shown for the thinning}";
  Session opened(ShippedStore(), Language::English, '.');
  ASSERT_EQ(opened.Open(Write("edited.orven", lines)), OpenOutcome::Opened);
  for (bool checked : opened.Columns.ThinningChecked) EXPECT_FALSE(checked);
  EXPECT_EQ(opened.Columns.BeforeThinChecked, session.Columns.BeforeThinChecked);
}

TEST_F(SettingsFileTest, OpeningKeepsTheAgesOfTheFile) {
  // On a poor site the estimation would raise an early start age to the first
  // age with a mean height of 2 m; the age read from the file stays.
  ASSERT_GT(YieldTableAgeAtHg(NorwaySpruce, 2, 5), 16);
  Session session(ShippedStore(), Language::English, '.');
  WalkThrough(session, {NorwaySpruce, ClassicalSiteClass});
  std::vector<std::string> lines = FileLines(Save(session, "ages.orven"));
  lines[18] = "  5.000000      {Site class}";
  lines[24] = "        16      {Age at which the table starts}";
  Session opened(ShippedStore(), Language::English, '.');
  ASSERT_EQ(opened.Open(Write("edited.orven", lines)), OpenOutcome::Opened);
  EXPECT_EQ(opened.Site.SiteClass, 5);
  EXPECT_EQ(opened.Tables.TableStartAge, 16);
  EXPECT_EQ(opened.Schedule.edtStartAge, "16");
  EXPECT_EQ(opened.Results.RowYears.front(), 0);
  EXPECT_EQ(opened.Tables.RowAges[0], 16);
}

}  // namespace
}  // namespace orven
