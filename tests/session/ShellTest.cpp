#include "session/SessionFixture.h"

#include <cmath>

#include "app/session/Navigation.h"

namespace orven {
namespace {

using test::Local;
using test::ShippedStore;
using test::Walk;
using test::WalkThrough;

// --- the language switch -------------------------------------------------------

// Every text the session holds for the view, besides the table's own cells.
std::vector<std::string> PageTexts(const Session& s) {
  std::vector<std::string> texts(s.Regime.rgTargetGItems.begin(), s.Regime.rgTargetGItems.end());
  for (const auto& column : s.Regime.sgConstraints) texts.insert(texts.end(), column.begin(), column.end());
  texts.insert(texts.end(), s.Results.InitState.begin(), s.Results.InitState.end());
  texts.insert(texts.end(), {s.Regime.lblThinIset, s.Regime.IntensityUnit, s.Schedule.lblInitState,
                             s.SiteView.lblSC, s.SiteView.lblYC, s.SiteView.lblSI, s.SiteView.lblA0,
                             s.Results.ErrorLine});
  return texts;
}

TEST(LanguageSwitch, RewritesTheTextsAsIfTheTableWereMadeInTheNewLanguage) {
  const Walk walks[] = {
      {Beech, ClassicalSiteClass, true, 0, false, false, "100", true},
      {NorwaySpruce, RepeatedInventories, false, 2, true, true, "90", true},
  };
  for (const Walk& walk : walks) {
    SCOPED_TRACE(walk.species);
    Session danish(ShippedStore(), Language::Danish, ',');
    WalkThrough(danish, walk);
    Session english(ShippedStore(), Language::English, ',');
    WalkThrough(english, walk);
    const std::string danishExport = danish.ExportText(TabDelimiter);
    const std::vector<std::string> danishTexts = PageTexts(danish);
    const auto values = danish.Tables.StandTable;
    ASSERT_NE(danishExport, english.ExportText(TabDelimiter));
    ASSERT_NE(danish.SiteView.lblSC, "");
    danish.TableChanged = false;

    danish.SetLanguage(Language::English);
    EXPECT_EQ(danish.ExportText(TabDelimiter), english.ExportText(TabDelimiter));
    EXPECT_EQ(PageTexts(danish), PageTexts(english));
    EXPECT_EQ(danish.Tables.StandTable, values);
    EXPECT_EQ(danish.Checks().language, Language::English);

    danish.SetLanguage(Language::Danish);
    EXPECT_EQ(danish.ExportText(TabDelimiter), danishExport);
    EXPECT_EQ(PageTexts(danish), danishTexts);
    EXPECT_EQ(danish.Tables.StandTable, values);
    EXPECT_FALSE(danish.TableChanged) << "a switch is no change to save";
  }
}

TEST(LanguageSwitch, KeepsAFirstAndLastThinningRegimeSetAfterAStandardOne) {
  Session session(ShippedStore(), Language::Danish, ',');
  WalkThrough(session, {});  // the moderate standard regime
  session.rgPresetClick(1);
  ASSERT_EQ(session.Regime.rgTargetG, 1) << "the standard regime stays selected";
  // A quotient so close to the regime's that the track bar does not move.
  ThinEditEnter(session.Regime);
  session.Regime.edtThinMstart = Local(session, "0.905");
  ASSERT_TRUE(ReadThinMstart(session.Regime, session.MessageSink()));
  session.WriteTables();
  const RegimeSettings regime = session.Regime.Regime;
  const auto values = session.Tables.StandTable;

  session.SetLanguage(Language::English);
  EXPECT_EQ(session.Regime.Regime.QuotientStart, 0.905);
  EXPECT_EQ(session.Regime.edtThinMstart, Local(session, "0.905"));
  EXPECT_EQ(session.Regime.Regime.TargetGStart, regime.TargetGStart);
  EXPECT_EQ(session.Tables.StandTable, values);
  EXPECT_NE(session.Regime.rgTargetGItems[0].find("Light thinning"), std::string::npos);
}

TEST(LanguageSwitch, BeforeAnyTableTheErrorLineSaysSo) {
  Session session(ShippedStore(), Language::Danish, ',');
  EXPECT_TRUE(session.NoTableComputed) << "the table of defaults a reset computes does not count";
  session.SetLanguage(Language::English);
  EXPECT_EQ(session.Results.ErrorLine, "No table created");
  EXPECT_TRUE(session.NoTableComputed);
  session.SetLanguage(Language::Danish);
  EXPECT_EQ(session.Results.ErrorLine, "Der er ikke beregnet nogen tabel");

  WalkThrough(session, {});
  EXPECT_FALSE(session.NoTableComputed);
  session.SetLanguage(Language::English);
  EXPECT_NE(session.Results.ErrorLine, "No table created");
  session.NewTable();
  session.SetLanguage(Language::Danish);
  EXPECT_EQ(session.Results.ErrorLine, "Der er ikke beregnet nogen tabel");
}

TEST(LanguageSwitch, TheTemplateReplacesTheDescriptionUntilTheUserTypes) {
  Session session(ShippedStore(), Language::Danish, ',');
  session.SetLanguage(Language::English);
  EXPECT_TRUE(session.Description.empty()) << "no template";

  session.DescriptionTemplate = [](Language language) {
    return std::vector<std::string>{language == Language::English ? "Stand:" : "Bevoksning:", ""};
  };
  session.SetLanguage(Language::Danish);
  EXPECT_EQ(session.Description, (std::vector<std::string>{"Bevoksning:", ""}));
  session.SetLanguage(Language::English);
  EXPECT_EQ(session.Description, (std::vector<std::string>{"Stand:", ""}));

  session.Description = {"Stand: my beech"};
  session.DescriptionEdited = true;
  session.SetLanguage(Language::Danish);
  EXPECT_EQ(session.Description, (std::vector<std::string>{"Stand: my beech"}));

  session.NewTable();
  EXPECT_FALSE(session.DescriptionEdited);
  EXPECT_EQ(session.Description, (std::vector<std::string>{"Bevoksning:", ""}));
}

// --- menus -----------------------------------------------------------------------

std::string Enabled(const MenuState& m) {
  const std::pair<const char*, bool MenuState::*> items[] = {
      {"miNew", &MenuState::miNew},
      {"miSave", &MenuState::miSave},
      {"miSaveAs", &MenuState::miSaveAs},
      {"miExport", &MenuState::miExport},
      {"miClearTable", &MenuState::miClearTable},
      {"miDeleteEntry", &MenuState::miDeleteEntry},
      {"miDelEntry", &MenuState::miDelEntry},
      {"miDelInitEntry", &MenuState::miDelInitEntry},
      {"miCopyTables", &MenuState::miCopyTables},
      {"miCopySelection", &MenuState::miCopySelection},
      {"miVariableSelection", &MenuState::miVariableSelection},
      {"miListOfVariables", &MenuState::miListOfVariables},
      {"miLargeGraph", &MenuState::miLargeGraph},
      {"miUpdate", &MenuState::miUpdate},
      {"FontIncrease", &MenuState::FontIncrease},
      {"FontDecrease", &MenuState::FontDecrease},
      {"miIncFontm", &MenuState::miIncFontm},
      {"miDecFontm", &MenuState::miDecFontm},
  };
  std::string names;
  for (const auto& [name, item] : items)
    if (m.*item) names += std::string(names.empty() ? "" : " ") + name;
  return names;
}

const std::string Files = "miNew miSave miSaveAs miExport";
const std::string TablesPage = " miCopyTables miCopySelection miVariableSelection miListOfVariables miLargeGraph";

TEST(MenuState, BeforeTheFinalStepThePageDoesNotCount) {
  Session session(ShippedStore(), Language::Danish, ',');
  for (int page : {0, 2, 4, 5}) {
    ViewState view;
    view.Page = page;
    view.LargeGraphVisible = page == 5;
    EXPECT_EQ(Enabled(session.Menus(view)), "FontIncrease") << page;
  }
  session.rgSpeciesClick(0);
  ViewState tables;
  tables.Page = 4;
  EXPECT_EQ(Enabled(session.Menus(tables)), "miNew FontIncrease");
}

TEST(MenuState, FollowsThePageAfterTheFinalStep) {
  struct Case {
    int page;
    bool largeGraph;
    bool autoUpdate;
    std::string enabled;
  };
  const Case cases[] = {
      {4, false, true, Files + TablesPage + " FontIncrease miIncFontm"},
      {4, false, false, Files + TablesPage + " miUpdate FontIncrease miIncFontm"},
      {5, false, false, Files + " miLargeGraph FontIncrease miIncFontm"},
      {2, true, true, Files + " miLargeGraph FontIncrease miIncFontm"},
      {2, false, false, Files + " miLargeGraph FontIncrease"},
      {0, false, true, Files + " miLargeGraph FontIncrease"},
      {6, false, false, Files + " miLargeGraph FontIncrease"},
  };
  Session session(ShippedStore(), Language::Danish, ',');
  WalkThrough(session, {});
  for (const Case& c : cases) {
    session.AutoUpdate = c.autoUpdate;
    ViewState view;
    view.Page = c.page;
    view.LargeGraphVisible = c.largeGraph;
    EXPECT_EQ(Enabled(session.Menus(view)), c.enabled) << "page " << c.page;
  }
}

TEST(MenuState, DeletingNeedsOneSelectedTypedCell) {
  Session session(ShippedStore(), Language::Danish, ',');
  WalkThrough(session, {});
  const int age = test::SecondThinningAge(session);
  test::TypeCell(session, ResultGrid::Thinning, G2, age, "2");
  session.InitStateCells[1] = Local(session, "9.5");  // the first-year diameter
  session.ReadInitialState();
  ASSERT_TRUE(session.Tables.ThinTableTyped && session.Tables.StateTableTyped);
  const auto [column, row] = test::CellOf(session, ResultGrid::Thinning, G2, age);

  using Focus = ViewState::Focus;
  struct Case {
    const char* what;
    ViewState view;
    bool deleteEntry, delEntry, delInitEntry;
  };
  const Case cases[] = {
      {"typed cell", {4, false, Focus::ResultGrid, ResultGrid::Thinning, true, column, row}, true, true, false},
      {"a block", {4, false, Focus::ResultGrid, ResultGrid::Thinning, false, column, row}, false, false, false},
      {"other grid", {4, false, Focus::ResultGrid, ResultGrid::Remaining, true, column, row}, false, false, false},
      {"computed cell", {4, false, Focus::ResultGrid, ResultGrid::Thinning, true, column, row + 1}, false, false,
       false},
      {"grid not focused", {4, false, Focus::Other, ResultGrid::Thinning, true, column, row}, false, false, false},
      {"typed diameter", {3, false, Focus::InitState, ResultGrid::BeforeThin, true, 1, 1}, true, false, true},
      {"computed height", {3, false, Focus::InitState, ResultGrid::BeforeThin, true, 1, 0}, false, false, false},
      {"diameter, other page", {4, false, Focus::InitState, ResultGrid::BeforeThin, true, 1, 1}, false, false,
       false},
      {"typed cell, other page", {3, false, Focus::ResultGrid, ResultGrid::Thinning, true, column, row}, false,
       false, false},
  };
  for (const Case& c : cases) {
    const MenuState m = session.Menus(c.view);
    EXPECT_EQ(m.miDeleteEntry, c.deleteEntry) << c.what;
    EXPECT_EQ(m.miDelEntry, c.delEntry) << c.what;
    EXPECT_EQ(m.miDelInitEntry, c.delInitEntry) << c.what;
    EXPECT_EQ(m.miClearTable, c.view.Page == 4) << c.what;
  }
  session.ClearTable();
  EXPECT_FALSE(session.Menus({4}).miClearTable);
}

// --- font steps ------------------------------------------------------------------

TEST(FontSteps, ThreeSizesSharedByTablesAndGraphs) {
  Session session(ShippedStore(), Language::Danish, ',');
  WalkThrough(session, {});
  struct Step {
    void (Session::*action)();
    int points, code;
    double factor;
    std::string fontItems;  // on the tables page
  };
  const Step steps[] = {
      {&Session::DecreaseFontSize, 8, 2, 1.0, "FontIncrease miIncFontm"},  // already the smallest
      {&Session::IncreaseFontSize, 10, 1, 1.2, "FontIncrease FontDecrease miIncFontm miDecFontm"},
      {&Session::IncreaseFontSize, 12, 0, 1.44, "FontDecrease miDecFontm"},
      {&Session::IncreaseFontSize, 12, 0, 1.44, "FontDecrease miDecFontm"},
      {&Session::DecreaseFontSize, 10, 1, 1.2, "FontIncrease FontDecrease miIncFontm miDecFontm"},
  };
  for (const Step& step : steps) {
    (session.*step.action)();
    EXPECT_EQ(session.TableFontSize, step.points);
    EXPECT_EQ(session.TableFontCode(), step.code);
    EXPECT_NEAR(session.GraphFontFactor, step.factor, 1e-12);
    const std::string enabled = Enabled(session.Menus({4}));
    EXPECT_EQ(enabled.substr(enabled.find("Font")), step.fontItems);
  }
  session.NewTable();
  EXPECT_EQ(session.TableFontSize, 8);
  EXPECT_EQ(session.GraphFontFactor, 1.0);
  // A settings file may hold an odd size.
  session.TableFontSize = 11;
  EXPECT_EQ(session.TableFontCode(), 1);
}

// --- caption and file names ------------------------------------------------------------

TEST(FormCaption, BothLanguagesWithAndWithoutAFile) {
  Session session(ShippedStore(), Language::English, ',');
  const SpeciesEntry& beech = session.Store().SpeciesTable[Beech];
  EXPECT_EQ(session.FormCaption(), "ORVEN: Growth and yield tables based on dynamic growth models    " +
                                       std::string(22, ' ') + "ORVEN growth and yield tables, 2009");
  session.SetLanguage(Language::Danish);
  EXPECT_EQ(session.FormCaption(), "ORVEN: Produktionsoversigter baseret på dynamiske vækstmodeller    " +
                                       std::string(20, ' ') + "ORVEN produktionsoversigter, 2009");
  WalkThrough(session, {});
  session.CurrentFileName = "/home/anna/tables/Bøg.orven";
  EXPECT_EQ(session.FormCaption(), "BØG.ORVEN:  Produktionsoversigt baseret på dynamiske vækstmodeller (" +
                                       beech.NameDK + ")      ORVEN produktionsoversigter, 2009");
  session.SetLanguage(Language::English);
  EXPECT_EQ(session.FormCaption(), "BØG.ORVEN:  Growth and yield table based on dynamic growth models (" +
                                       beech.NameUK + ")      ORVEN growth and yield tables, 2009");
  session.CurrentFileName.clear();
  EXPECT_EQ(session.FormCaption(), "ORVEN: Growth and yield tables based on dynamic growth models (" + beech.NameUK +
                                       ")" + std::string(22, ' ') + "ORVEN growth and yield tables, 2009");
}

TEST(RecentFile, NamesOfEitherPathForm) {
  struct Case {
    std::string path, shortName, caption;
  };
  const Case cases[] = {
      {"C:\\Data\\Tables\\Beech.orven", "BEECH.ORVEN", "&1:  C:\\..\\Beech"},
      {"/home/anna/tables/Beech.orven", "BEECH.ORVEN", "&1:  /ho../Beech"},
      {"/home/anna\\mixed/æble.txt", "ÆBLE.TXT", "&1:  /ho../æble.txt"},
      {"/hø/jer/x.orven", "X.ORVEN", "&1:  /hø../x"},  // three characters, not bytes
      {"/ab/c.orven", "C.ORVEN", "&1:  /ab../c"},
      {"C:\\b.orven", "B.ORVEN", "&1:  C:\\b.orven"},  // separator before position 4: whole
      {"/abc.orven", "ABC.ORVEN", "&1:  /abc.orven"},
      {"Beech.orven", "BEECH.ORVEN", "&1:  Beech.orven"},
      {"/home/anna/Beech.ORVEN", "BEECH.ORVEN", "&1:  /ho../Beech.ORVEN"},
      {"", "", "&1:  "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShortFileName(c.path), c.shortName) << c.path;
    EXPECT_EQ(OpenExistingCaption(c.path), c.caption) << c.path;
  }
}

// --- page navigation -------------------------------------------------------------

TEST(PageNavigation, NeighboursAreCyclic) {
  const std::array<int, 3> cases[] = {{0, -1, 6}, {6, 1, 0}, {3, 1, 4}, {3, -1, 2}, {0, 1, 1}};
  for (const auto& [page, step, expected] : cases) EXPECT_EQ(NeighbourPage(page, step), expected);
}

TEST(PageNavigation, GoingToAPageEntersEveryPageOnTheWay) {
  EXPECT_EQ(PagesOnTheWay(0, 4), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(PagesOnTheWay(5, 2), (std::vector<int>{4, 3, 2}));
  EXPECT_EQ(PagesOnTheWay(6, 0), (std::vector<int>{5, 4, 3, 2, 1, 0}));
  EXPECT_TRUE(PagesOnTheWay(3, 3).empty());
  EXPECT_TRUE(PagesOnTheWay(0, 7).empty());
}

}  // namespace
}  // namespace orven
