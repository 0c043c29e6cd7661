#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "CommandSupport.h"
#include "app/session/Session.h"
#include "model/GrowthModel.h"
#include "projection/RegimeControls.h"

namespace orven {
namespace {

using test::Slurp;

// Norway spruce from two inventories, a first/last-thinning regime by
// relative spacing, and a typed first-year diameter: a table whose every
// part comes from the file.
void MakeTable(Session& s) {
  s.rgSpeciesClick(NorwaySpruce);  // every species is listed, in code order
  s.rgSiteQualityClick(RepeatedInventories);
  s.rgHeightClick(0);
  s.SiteView.Inputs.sgInventory[0] = {"25", "11", "26", "0"};
  s.SiteView.Inputs.sgInventory[1] = {"31", "14", "27", "7"};
  s.SiteGridEdited();
  s.rgVolumeClick(2);
  s.LeaveSitePage();
  s.rgPresetClick(1);
  s.rgMeasureClick(1);
  s.RegimeInputEntered();
  ThinEditEnter(s.Regime);
  s.Regime.edtThinIend = "21";
  ReadThinIend(s.Regime, s.MessageSink());
  s.AgeRangeEntered();
  s.edtStartAgeExit("25");
  s.edtEndAgeExit("90");
  s.ConstraintEdited();
  s.ReadConstraints();
  s.InitStateEntered();
  s.InitStateCells[1] = "12";
  s.ReadInitialState();
  s.ShowTablesPage();
  s.TakeMessages();
}

class TableCommandTest : public ::testing::Test {
protected:
  TableCommandTest() {
    Session session(test::ProgramStore(), Language::Danish, '.');
    MakeTable(session);
    file = folder.PathOf("spruce.orven");
    EXPECT_TRUE(session.Save(file));
  }

  test::CommandOutcome OrvenTable(const std::string& arguments) { return test::RunOrvenTable(folder, arguments); }
  // The export of the same table made in a session with these settings.
  static std::string SessionExport(Language language, char separator, char delimiter) {
    Session session(test::ProgramStore(), language, separator);
    MakeTable(session);
    return session.ExportText(delimiter);
  }

  test::TemporaryFolder folder;
  std::string file;
};

TEST_F(TableCommandTest, WritesExactlyTheExportOfTheSessionThatSavedTheFile) {
  struct Case {
    const char* options;
    Language language;
    char separator;
    char delimiter;
  };
  const Case cases[] = {
      {"", Language::Danish, '.', '\t'},
      {"--english", Language::English, '.', '\t'},
      {"--semicolon", Language::Danish, '.', ';'},
      {"--decimal-comma", Language::Danish, ',', '\t'},
      {"--decimal-comma --semicolon --english", Language::English, ',', ';'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    test::CommandOutcome run = OrvenTable(std::string(c.options) + " '" + file + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, SessionExport(c.language, c.separator, c.delimiter));
  }
}

TEST_F(TableCommandTest, FullPrecisionNumbersAreTheTableValues) {
  test::CommandOutcome run = OrvenTable("--full-precision '" + file + "'");
  ASSERT_EQ(run.status, 0);
  Session session(test::ProgramStore(), Language::Danish, '.');
  MakeTable(session);
  std::vector<int> columns;
  for (ResultGrid grid : {ResultGrid::BeforeThin, ResultGrid::Thinning, ResultGrid::Remaining})
    for (std::uint8_t variable : session.ColumnsOf(grid)) columns.push_back(variable);

  std::istringstream lines(run.out);
  std::string line;
  std::getline(lines, line);  // symbols
  std::getline(lines, line);  // units
  int compared = 0;
  for (std::size_t row = 0; std::getline(lines, line); ++row) {
    ASSERT_LT(row, session.Results.RowYears.size());
    const int year = session.Results.RowYears[row];
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream cells(line);
    std::string cell;
    for (std::size_t c = 0; std::getline(cells, cell, '\t'); ++c) {
      ASSERT_LT(c, columns.size());
      char* end = nullptr;
      const double value = std::strtod(cell.c_str(), &end);
      if (cell.empty() || *end != '\0') continue;  // a text such as "UDEF."
      EXPECT_EQ(value, session.Tables.StandTable[columns[c]][year]) << "row " << row << " column " << c;
      ++compared;
    }
  }
  EXPECT_EQ(session.Results.RowYears.size(), static_cast<std::size_t>(session.Tables.TableRowCount));
  EXPECT_GT(compared, 10 * session.Tables.TableRowCount);
}

TEST_F(TableCommandTest, OutputOptionWritesTheFile) {
  const std::string out = folder.PathOf("table.txt");
  test::CommandOutcome run = OrvenTable("-o '" + out + "' '" + file + "'");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Slurp(out), SessionExport(Language::Danish, '.', '\t'));
}

TEST_F(TableCommandTest, AMissingFileIsStatusTwoWithTheMessageOnOneLine) {
  const std::string missing = folder.PathOf("absent.orven");
  test::CommandOutcome run = OrvenTable("'" + missing + "'");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Filen eksisterer ikke: " + missing + "\n");
  run = OrvenTable("--english '" + missing + "'");
  EXPECT_EQ(run.err, "The file does not exist: " + missing + "\n");
}

TEST_F(TableCommandTest, ADamagedFileIsStatusOneAndNamesTheLine) {
  std::string bytes = Slurp(file);
  const std::size_t label = bytes.find("      {Produktionsklasse}");
  ASSERT_NE(label, std::string::npos);
  const std::size_t start = bytes.rfind("\r\n", label) + 2;
  bytes.replace(start, label - start, " sixteen");
  const std::string damaged = folder.Write("damaged.orven", bytes);

  test::CommandOutcome run = OrvenTable("--english '" + damaged + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Invalid numeric input in line 20 of the settings file: " + damaged + "\n");
}

TEST_F(TableCommandTest, BadCallsAreStatusTwo) {
  for (const std::string& arguments : {std::string(""), "--bogus '" + file + "'", "'" + file + "' '" + file + "'",
                                      "'" + file + "' -o"}) {
    SCOPED_TRACE(arguments);
    test::CommandOutcome run = OrvenTable(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.find("orven-table: "), 0u);
  }
}

TEST_F(TableCommandTest, HelpNamesTheSettingsFile) {
  test::CommandOutcome run = OrvenTable("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("FILE.orven"), std::string::npos);
  EXPECT_NE(run.out.find("--full-precision"), std::string::npos);
}

}  // namespace
}  // namespace orven
