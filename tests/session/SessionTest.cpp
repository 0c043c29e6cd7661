#include "session/SessionFixture.h"

#include <cmath>

#include "messages/NumberText.h"
#include "model/YieldTable.h"

namespace orven {
namespace {

using test::Local;
using test::ShippedStore;
using test::WalkThrough;
using test::Walk;

int ItemOf(const Session& s, int species) {
  for (int item = 0; item < static_cast<int>(s.SpeciesItems().size()); ++item)
    if (SpeciesAtRadioIndex(s.Store(), item) == species) return item;
  return -1;
}

std::vector<std::string> Texts(const MessageList& messages) {
  std::vector<std::string> texts;
  for (const Message& m : messages) texts.push_back(m.Text);
  return texts;
}

// --- a new table ---------------------------------------------------------------

TEST(NewTable, ResetsTheTableAndKeepsTheFileForReopening) {
  test::TemporaryFolder folder;
  Session session(ShippedStore(), Language::English, '.');
  WalkThrough(session, {Oak, ClassicalYieldClass, false, 2, true, true, "120", true});
  session.ChangeA0parameterSettings();
  const std::string path = folder.PathOf("oak.orven");
  ASSERT_TRUE(session.Save(path));
  ASSERT_EQ(session.Open(path), OpenOutcome::Opened);
  session.InitStateCells[1] = "9.5";
  session.ReadInitialState();
  ASSERT_TRUE(session.TableChanged);

  const std::optional<Message> question = session.NewTableQuestion();
  ASSERT_TRUE(question);
  EXPECT_EQ(question->Kind, MessageKind::Question);
  EXPECT_EQ(question->Text, "   Clear everything without saving the growth and yield table?   ");
  EXPECT_EQ(question->Caption, "   Clear everything?");

  session.NewTable();
  EXPECT_FALSE(session.NewTableQuestion());
  // The defaults of a new table.
  EXPECT_EQ(session.Tables.TableStartAge, 20);
  EXPECT_EQ(session.Tables.TableEndAge, 80);
  EXPECT_EQ(session.Regime.Regime.ThinStartAge, 20);
  EXPECT_EQ(session.Regime.Regime.ThinEndAge, 80);
  EXPECT_TRUE(session.Regime.Regime.MeasureIsBasalArea);
  EXPECT_EQ(session.Regime.Regime.ThinVMin, -10000);
  EXPECT_EQ(session.Regime.TargetG, 20);
  EXPECT_EQ(session.Site.SiteClass, 2);
  EXPECT_EQ(session.SiteValues.YieldClass, 7);
  EXPECT_EQ(session.SiteValues.StandHeight, 8);
  EXPECT_EQ(session.SiteValues.StandAge, 20);
  EXPECT_FALSE(session.SiteValues.StandHeightKeyed || session.SiteValues.YieldClassKeyed ||
               session.SiteValues.StartAgeKeyed);
  EXPECT_FALSE(session.Site.UserA0Fixed);
  EXPECT_EQ(session.Site.A0Parameter, 0.01);
  EXPECT_EQ(session.Site.GrowthCorrection, 1);
  EXPECT_EQ(session.Species.CurrentSpecies, Beech);
  EXPECT_EQ(session.SiteView.rgSpecies, -1);
  EXPECT_EQ(session.SiteView.Inputs.rgSiteQuality, -1);
  EXPECT_EQ(session.Regime.rgPreset, -1);
  EXPECT_EQ(session.Regime.rgMeasure, 0);
  const SiteInputs& inputs = session.SiteView.Inputs;
  EXPECT_EQ((std::vector<std::string>{inputs.edtSiteClass, inputs.edtYieldClass, inputs.edtStandHeight,
                                      session.SiteView.edtGcorrection, inputs.edtStandAge,
                                      session.SiteView.edtA0parameter}),
            (std::vector<std::string>{"2", "7", "8", "1", "20", "0.0100"}));
  EXPECT_EQ(session.Regime.sgConstraints[1][4], "");
  EXPECT_EQ(session.Regime.sgConstraints[2][1], "N.A.");
  EXPECT_FALSE(session.Tables.StateTableTyped || session.Tables.ThinTableTyped);
  EXPECT_TRUE(session.Description.empty());
  EXPECT_FALSE(session.TableChanged);
  EXPECT_EQ(session.InitStateCells, InitStateTexts{});
  // The workflow starts again at the species.
  for (int step = 1; step <= Workflow::Steps; ++step) {
    EXPECT_EQ(session.Steps.StepEnabled[step], step == 1) << step;
    EXPECT_EQ(session.Steps.LabelBlue[step], step == 1) << step;
    EXPECT_TRUE(session.Steps.StepPending[step]) << step;
  }
  EXPECT_FALSE(session.Steps.FinalEnabled);
  // The file of the cleared table is offered again.
  EXPECT_EQ(session.RecentFileName, path);
  EXPECT_TRUE(session.CurrentFileName.empty());

  session.RecentFileName = "older.orven";
  session.NewTable();
  EXPECT_EQ(session.RecentFileName, "older.orven") << "a table without a file leaves the recent one";
}

TEST(NewTable, TheQuestionIsInTheInterfaceLanguage) {
  Session session(ShippedStore(), Language::Danish, ',');
  session.TableChanged = true;
  const std::optional<Message> question = session.NewTableQuestion();
  ASSERT_TRUE(question);
  EXPECT_EQ(question->Text, "   Slet alle indtastninger uden at lagre produktionsoversigten?   ");
  EXPECT_EQ(question->Caption, "   Slet alt?");
}

// --- species and site page -------------------------------------------------------

TEST(SitePage, SpeciesClickWritesTheDefaultYieldClassUntilOneIsTyped) {
  Session session(ShippedStore(), Language::Danish, ',');
  session.rgSpeciesClick(ItemOf(session, NorwaySpruce));
  EXPECT_EQ(session.SiteValues.YieldClass, 16.4);
  EXPECT_EQ(session.SiteView.Inputs.edtYieldClass, "16,4");
  session.rgSpeciesClick(ItemOf(session, Oak));
  EXPECT_EQ(session.SiteValues.YieldClass, 6.1);
  EXPECT_EQ(session.SiteView.Inputs.edtYieldClass, "6,1");

  ASSERT_TRUE(session.SiteEditExit(SiteEdit::YieldClass, "9,5"));
  session.rgSpeciesClick(ItemOf(session, DouglasFir));
  EXPECT_EQ(session.SiteValues.YieldClass, 9.5);
  EXPECT_EQ(session.SiteView.Inputs.edtYieldClass, "9,5");
}

TEST(SitePage, StandHeightPresetFollowsSpeciesAndHeightMeasureUntilOneIsTyped) {
  Session session(ShippedStore(), Language::English, '.');
  const GrowthModel model = session.Model();
  auto tenths = [](double h) { return std::nearbyint(h * 10) / 10; };

  session.rgSpeciesClick(ItemOf(session, SitkaSpruce));  // no height measure yet: mean height
  const double hg = YieldTableHg(SitkaSpruce, 20, 2);
  EXPECT_EQ(session.SiteValues.StandHeight, tenths(hg));
  EXPECT_EQ(session.SiteView.Inputs.edtStandHeight, FormatGeneral(tenths(hg), '.'));

  session.rgSiteQualityClick(StandHeightAtAge);
  session.rgHeightClick(0);  // dominant height
  const double hdom = model.HdomFromHg(SitkaSpruce, hg);
  EXPECT_EQ(session.SiteView.Inputs.edtStandHeight, FormatGeneral(tenths(hdom), '.'));
  EXPECT_NE(tenths(hdom), tenths(hg));

  ASSERT_TRUE(session.SiteEditExit(SiteEdit::StandHeight, "17.3"));
  session.rgSpeciesClick(ItemOf(session, Ash));
  session.rgHeightClick(1);
  EXPECT_EQ(session.SiteView.Inputs.edtStandHeight, "17.3");
  EXPECT_EQ(session.SiteValues.StandHeight, 17.3);
}

TEST(SitePage, SpeciesClickPresetsTheKeyedInParameterOnlyWhileTheCalculatedOneIsUsed) {
  Session session(ShippedStore(), Language::English, '.');
  session.rgSpeciesClick(ItemOf(session, Oak));
  EXPECT_EQ(session.Site.UserA0Parameter, 0.99);
  session.rgSpeciesClick(ItemOf(session, Beech));
  EXPECT_EQ(session.Site.UserA0Parameter, 0.025);

  session.ChangeA0parameterSettings();
  session.rgSpeciesClick(ItemOf(session, Oak));
  EXPECT_EQ(session.Site.UserA0Parameter, 0.025);
}

TEST(SitePage, TheGrowthParameterFieldSwitchesBetweenKeyedInAndCalculated) {
  Session session(ShippedStore(), Language::Danish, ',');
  WalkThrough(session, {});
  const double calculated = session.Site.A0Parameter;
  ASSERT_GT(calculated, 0);
  ASSERT_NE(calculated, 0.025);

  session.ChangeA0parameterSettings();
  EXPECT_TRUE(session.Site.UserA0Fixed);
  EXPECT_EQ(session.Site.A0Parameter, 0.025);
  EXPECT_EQ(session.SiteView.edtA0parameter, "0,025");
  EXPECT_EQ(session.SiteView.lblA0, "Rate-par. = 0,0250");

  session.ChangeA0parameterSettings();
  EXPECT_FALSE(session.Site.UserA0Fixed);
  EXPECT_EQ(session.Site.A0Parameter, calculated);
  EXPECT_EQ(session.SiteView.edtA0parameter, FormatFixed(calculated, 4, ','));
  EXPECT_EQ(session.SiteView.edtA0parameter.size(), 6u);  // 0,dddd
}

TEST(SitePage, LeavingItWithAKeyedInParameterShowsTheNote) {
  const std::string note =
      "   Please note that a fixed growth rate parameter has been keyed in and   \r\n"
      "   will be used in the growth and yield table. To use a calculated param-   \r\n"
      "   eter instead, click the edge of the \"Applied growth parameter\" field.   ";
  Session session(ShippedStore(), Language::English, '.');
  WalkThrough(session, {});
  session.TakeMessages();

  session.LeaveSitePage();
  EXPECT_TRUE(session.TakeMessages().empty());
  EXPECT_EQ(session.SiteView.edtA0parameter, FormatFixed(session.Site.A0Parameter, 4, '.'));

  session.ChangeA0parameterSettings();
  ASSERT_TRUE(session.SiteEditExit(SiteEdit::A0parameter, "0.031"));
  session.TakeMessages();
  session.LeaveSitePage();
  const MessageList messages = session.TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Kind, MessageKind::Information);
  EXPECT_EQ(messages[0].Text, note);
  EXPECT_EQ(session.SiteView.edtA0parameter, "0.031");
  EXPECT_EQ(session.Site.GrowthRateParameter(), 0.031);

  // With typed values the note is not shown; the field shows the parameter in use.
  test::TypeCell(session, ResultGrid::Thinning, G2, test::SecondThinningAge(session), "2");
  ASSERT_TRUE(session.Tables.ThinTableTyped);
  session.TakeMessages();
  session.LeaveSitePage();
  EXPECT_TRUE(session.TakeMessages().empty());
  EXPECT_EQ(session.SiteView.edtA0parameter, "0.0310");
}

struct MethodCase {
  const char* name;
  std::function<void(Session&)> siteData;
  bool growthRateModel;
};

TEST(SitePage, EachSiteMethodEstimatesTheSiteAndFillsTheLabels) {
  const MethodCase cases[] = {
      {"inventories",
       [](Session& s) {
         s.rgSiteQualityClick(RepeatedInventories);
         s.rgHeightClick(0);
         s.SiteView.Inputs.sgInventory[0] = {"25", "11.2", "28.5", "0"};
         s.SiteView.Inputs.sgInventory[1] = {"31", "14.1", "30.2", "6.5"};
         s.SiteGridEdited();
       },
       true},
      {"one inventory",
       [](Session& s) {
         s.rgSiteQualityClick(RepeatedInventories);
         s.rgHeightClick(0);
         s.SiteView.Inputs.sgInventory[0] = {"25", "11.2", "28.5", "0"};
         s.SiteGridEdited();
       },
       false},
      {"stand height",
       [](Session& s) {
         s.rgSiteQualityClick(StandHeightAtAge);
         s.rgHeightClick(1);
         s.SiteEditExit(SiteEdit::StandHeight, "14");
         s.SiteEditExit(SiteEdit::StandAge, "30");
         s.edtGcorrectionEnter();
       },
       false},
      {"site class",
       [](Session& s) {
         s.rgSiteQualityClick(ClassicalSiteClass);
         s.rgHeightClick(0);
         s.SiteEditExit(SiteEdit::SiteClass, "2.5");
         s.edtGcorrectionEnter();
       },
       false},
      {"yield class",
       [](Session& s) {
         s.rgSiteQualityClick(ClassicalYieldClass);
         s.rgHeightClick(0);
         s.SiteEditExit(SiteEdit::YieldClass, "14");
         s.edtGcorrectionEnter();
       },
       false},
      {"soil texture",
       [](Session& s) {
         s.rgSiteQualityClick(SoilTexture);
         s.rgHeightClick(0);
         s.SiteView.Inputs.sgSoil = {"10", "20", "50", "20"};
         s.SiteGridEdited();
       },
       true},
  };
  for (const MethodCase& c : cases) {
    SCOPED_TRACE(c.name);
    Session session(ShippedStore(), Language::English, '.');
    session.rgSpeciesClick(ItemOf(session, NorwaySpruce));
    c.siteData(session);
    session.rgVolumeClick(0);
    EXPECT_EQ(session.Site.UseA0Model, c.growthRateModel);
    const SiteParameters& site = session.Site;
    ASSERT_GT(site.A0Parameter, 1e-12);
    EXPECT_TRUE(session.Steps.StepEnabled[6]);
    EXPECT_EQ(session.SiteView.lblSC, "Site Cl. = " + FormatFixed(site.SiteClass, 2, '.'));
    EXPECT_EQ(session.SiteView.lblYC, "Yield Cl. = " + FormatFixed(session.SiteValues.YieldClass, 1, '.'));
    EXPECT_EQ(session.SiteView.lblSI, "H(50 yr) = " + FormatFixed(site.SiteIndex, 1, '.'));
    EXPECT_EQ(session.SiteView.lblA0, "Rate par. = " + FormatFixed(site.A0Parameter, 4, '.'));
    EXPECT_EQ(session.SiteView.edtA0parameter, FormatFixed(site.A0Parameter, 4, '.'));
    EXPECT_GT(site.SiteIndex, 5);
    EXPECT_LT(site.SiteIndex, 45);
  }
}

TEST(SitePage, WithoutSiteDataTheLabelsAskAndTheThinningStepStaysClosed) {
  Session session(ShippedStore(), Language::Danish, ',');
  session.rgSpeciesClick(ItemOf(session, Beech));
  session.rgSiteQualityClick(SoilTexture);
  session.rgHeightClick(0);
  session.TakeMessages();
  session.rgVolumeClick(0);
  EXPECT_EQ(session.Site.A0Parameter, 0);
  EXPECT_FALSE(session.Steps.StepEnabled[6]);
  EXPECT_EQ(session.SiteView.lblSC, "Bon.kl. = ?");
  EXPECT_EQ(session.SiteView.lblYC, "Prod.kl. = ?");
  EXPECT_EQ(session.SiteView.lblSI, "H(50 år) = ?");
}

// --- export ------------------------------------------------------------------------

TEST(Export, DelimitersAndDecimalSeparatorsChangeOnlyWhatTheySay) {
  const Walk walk{NorwaySpruce, ClassicalSiteClass, true, 0, false, false, "100"};
  Session comma(ShippedStore(), Language::Danish, ',');
  WalkThrough(comma, walk);
  Session point(ShippedStore(), Language::Danish, '.');
  WalkThrough(point, walk);

  const std::string tab = comma.ExportText(TabDelimiter);
  const std::string semicolon = comma.ExportText(SemicolonDelimiter);
  const std::vector<std::string> lines = test::FileLines(tab);
  ASSERT_EQ(static_cast<int>(lines.size()), comma.Tables.TableRowCount + 2);
  EXPECT_NE(tab.substr(tab.size() - 2), "\r\n") << "no line break after the last line";
  EXPECT_EQ(lines[0].substr(0, 8), "T\tHD1\tD1");
  EXPECT_EQ(lines[1].substr(0, std::string("[År]\t[m]\t").size()), "[År]\t[m]\t");
  std::size_t columns = 0;
  for (const GridTexts& grid : comma.Results.Grids) columns += grid.Headers.size();
  for (const std::string& line : lines)
    EXPECT_EQ(static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t')), columns - 1) << line;

  std::string expected = tab;
  std::replace(expected.begin(), expected.end(), '\t', ';');
  EXPECT_EQ(semicolon, expected);
  // Every number has the decimal comma; the only points are those of "UDEF.".
  EXPECT_NE(tab.find(",00\t"), std::string::npos);
  std::size_t undefined = 0;
  for (std::size_t at = 0; (at = tab.find("UDEF.", at)) != std::string::npos; ++at) ++undefined;
  EXPECT_EQ(static_cast<std::size_t>(std::count(tab.begin(), tab.end(), '.')), undefined);
  std::string pointed = tab;
  std::replace(pointed.begin(), pointed.end(), ',', '.');
  EXPECT_EQ(point.ExportText(TabDelimiter), pointed);
}

TEST(Export, CellsAreTheGridTextsWithoutLeadingBlanks) {
  Session session(ShippedStore(), Language::English, '.');
  WalkThrough(session, {});
  const std::vector<std::string> lines = test::FileLines(session.ExportText(TabDelimiter));
  const GridTexts& before = session.Results.Grids[0];
  for (int row = 1; row <= session.Tables.TableRowCount; ++row) {
    std::string first = before.Rows[row - 1][0];
    first.erase(0, first.find_first_not_of(' '));
    EXPECT_EQ(lines[row + 1].substr(0, lines[row + 1].find('\t')), first);
    EXPECT_EQ(std::stoi(first), session.Tables.RowAges[row - 1]);
  }
}

TEST(Export, CopyingTakesTheWholeTableOrTheSelectionOfTheFocusedGrid) {
  Session session(ShippedStore(), Language::English, '.');
  WalkThrough(session, {});
  EXPECT_EQ(session.CopyAllText(), session.ExportText(TabDelimiter));

  const GridTexts& thinning = session.Results.Grids[1];
  std::optional<std::string> one = session.CopySelectionText(ResultGrid::Thinning, 0, 0, 2, 2);
  ASSERT_TRUE(one);
  EXPECT_EQ(*one, thinning.Headers[0] + "\r\n" + thinning.Units[0] + "\r\n" + thinning.Rows[1][0]);
  EXPECT_TRUE(session.TakeMessages().empty());

  EXPECT_FALSE(session.CopySelectionText(std::nullopt, 0, 0, 1, 1));
  MessageList messages = session.TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Kind, MessageKind::Plain);
  EXPECT_EQ(messages[0].Text,
            "   Before copying you must make a selection in one of the tables.   \r\n"
            "   Click a cell and select area by pressing Shift + arrow keys!   ");
}

// --- sessions side by side --------------------------------------------------------

TEST(Sessions, TwoSessionsSideBySideDoNotInfluenceEachOther) {
  const Walk beech{Beech, ClassicalSiteClass, true, 0, false, false, "100"};
  const Walk spruce{NorwaySpruce, RepeatedInventories, false, 2, true, true, "90", true};
  Session aloneA(ShippedStore(), Language::Danish, ',');
  WalkThrough(aloneA, beech);
  Session aloneB(ShippedStore(), Language::English, '.');
  WalkThrough(aloneB, spruce);

  Session a(ShippedStore(), Language::Danish, ',');
  Session b(ShippedStore(), Language::English, '.');
  auto stepsA = test::WalkSteps(beech);
  auto stepsB = test::WalkSteps(spruce);
  for (std::size_t k = 0; k < std::max(stepsA.size(), stepsB.size()); ++k) {
    if (k < stepsB.size()) stepsB[k](b);
    if (k < stepsA.size()) stepsA[k](a);
  }
  EXPECT_EQ(a.SettingsFileText(), aloneA.SettingsFileText());
  EXPECT_EQ(b.SettingsFileText(), aloneB.SettingsFileText());
  EXPECT_EQ(a.ExportText(TabDelimiter), aloneA.ExportText(TabDelimiter));
  EXPECT_EQ(b.ExportText(TabDelimiter), aloneB.ExportText(TabDelimiter));
  EXPECT_EQ(Texts(a.TakeMessages()), Texts(aloneA.TakeMessages()));
  EXPECT_EQ(Texts(b.TakeMessages()), Texts(aloneB.TakeMessages()));

  // Typing into one, and a new table in the other, leave the first alone.
  test::TypeCell(b, ResultGrid::Thinning, G2, test::SecondThinningAge(b), "3");
  a.NewTable();
  EXPECT_EQ(b.Tables.ThinTypedCount, 1);
  EXPECT_FALSE(a.Tables.ThinTableTyped);
  EXPECT_EQ(b.Species.CurrentSpecies, NorwaySpruce);
}

}  // namespace
}  // namespace orven
