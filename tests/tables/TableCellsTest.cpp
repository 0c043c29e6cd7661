#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/Sentinel.h"
#include "tables/TableCells.h"

namespace orven {
namespace {

constexpr int ThinYear = 5;   // age 25
constexpr int LastYear = 10;  // age 30

// A table from age 20 to 30 with one thinning at 25, filled by hand: a
// plausible stand in every year, no thinning outside the thinning year.
class TableCellsTest : public ::testing::Test {
protected:
  void SetUp() override {
    tables.TableStartAge = 20;
    tables.TableEndAge = 30;
    tables.TableRowCount = 11;
    for (int r = 1; r <= tables.TableRowCount; ++r) tables.RowAges[r - 1] = 19 + r;
    tables.ThinAgeSet.set(25);
    tables.IsThinYear[ThinYear] = true;
    for (int year = 0; year <= LastYear; ++year) {
      tables.Value(T, year) = 20 + year;
      for (int v : {HD1, HD3}) tables.Value(v, year) = 15;
      for (int v : {D1, D3}) tables.Value(v, year) = 20;
      for (int v : {N1, N3}) tables.Value(v, year) = 1000;
      for (int v : {G1, G3}) tables.Value(v, year) = 30;
      for (int v : {RTA1, RTA3}) tables.Value(v, year) = 20;
      tables.Value(dVdt, year) = 12;
      for (int v : {HD2, Hg2, D2, F2, RTA2, Q1, Q3}) tables.Value(v, year) = Sentinel;
    }
    SetThinning(5);
  }

  // The thinning year removes basal area g2 (0: nothing).
  void SetThinning(double g2) {
    const double share = g2 / 30;
    tables.Value(G2, ThinYear) = g2;
    tables.Value(N2, ThinYear) = 1000 * share;
    tables.Value(V2, ThinYear) = 200 * share;
    tables.Value(G3, ThinYear) = 30 - g2;
    tables.Value(N3, ThinYear) = 1000 - 1000 * share;
    tables.Value(V3, ThinYear) = 200 - 200 * share;
    tables.Value(D2, ThinYear) = g2 > 0 ? 18 : Sentinel;
    tables.Value(HD2, ThinYear) = g2 > 0 ? 14 : Sentinel;
    tables.Value(RTA2, ThinYear) = g2 > 0 ? 30 : Sentinel;
  }

  std::string Text(ResultGrid grid, int v, int year, Language language = Language::English,
                   char separator = '.') const {
    return DataCellText(tables, grid, v, year, true, language, separator);
  }

  ProjectionTables tables;
};

TEST_F(TableCellsTest, NumbersUseTheirDecimalsAndTheSeparatorGiven) {
  tables.Value(G1, 0) = 30.254;
  EXPECT_EQ(Text(ResultGrid::BeforeThin, G1, 0, Language::Danish, ','), "30,25");
  EXPECT_EQ(Text(ResultGrid::BeforeThin, G1, 0), "30.25");
  EXPECT_EQ(Text(ResultGrid::BeforeThin, N1, 0), "1000");
  EXPECT_EQ(Text(ResultGrid::Remaining, dVdt, 0, Language::Danish, ','), "12,00");
  EXPECT_EQ(DataCellText(tables, ResultGrid::BeforeThin, N1, 0, false, Language::English, '.'), "");
  EXPECT_EQ(Text(ResultGrid::BeforeThin, NoVariable, 0), "");
  EXPECT_EQ(Text(ResultGrid::BeforeThin, N1, LastYear + 1), "");
}

TEST_F(TableCellsTest, ValuesThatCannotBeShownGetTheTextOfTheirCell) {
  struct Case {
    ResultGrid grid;
    int variable, year;
    double value;
    const char* english;
    const char* danish;
  };
  const Case cases[] = {
      {ResultGrid::Remaining, HD3, 0, 56, "56.0", "56,0"},    // above the range: still printed
      {ResultGrid::Remaining, HD3, 0, 551, "ERROR", "FEJL"},  // above ten times the maximum
      {ResultGrid::BeforeThin, D1, 0, Sentinel, "ERROR", "FEJL"},
      {ResultGrid::BeforeThin, dNdt, 0, -4001, "ERROR", "FEJL"},
      {ResultGrid::BeforeThin, dNdt, 0, -4000, "-4000.0", "-4000,0"},
      {ResultGrid::Thinning, D2, 0, Sentinel, "", ""},  // no thinning that year
      {ResultGrid::Thinning, D2, ThinYear, Sentinel, "ERROR", "FEJL"},
      {ResultGrid::Thinning, Q1, ThinYear, Sentinel, "ERROR", "FEJL"},
      {ResultGrid::Remaining, dVdt, LastYear, Sentinel, "", ""},  // no next year to grow into
      {ResultGrid::Remaining, dVdt, 3, Sentinel, "ERROR", "FEJL"},
      {ResultGrid::Remaining, mdVdt, LastYear, Sentinel, "ERROR", "FEJL"},
  };
  for (const Case& c : cases) {
    const double kept = tables.Value(c.variable, c.year);
    tables.Value(c.variable, c.year) = c.value;
    EXPECT_EQ(Text(c.grid, c.variable, c.year), c.english) << c.value;
    EXPECT_EQ(Text(c.grid, c.variable, c.year, Language::Danish, ','), c.danish) << c.value;
    tables.Value(c.variable, c.year) = kept;
  }
}

TEST_F(TableCellsTest, ThinningThatRemovedNothingIsNotApplicable) {
  SetThinning(0);
  tables.Value(HD3, ThinYear) = Sentinel;
  EXPECT_EQ(Text(ResultGrid::Thinning, G2, ThinYear), "0.00");
  EXPECT_EQ(Text(ResultGrid::Thinning, D2, ThinYear), "N.A.");
  EXPECT_EQ(Text(ResultGrid::Thinning, HD2, ThinYear, Language::Danish, ','), "UDEF.");
  EXPECT_EQ(Text(ResultGrid::Remaining, HD3, ThinYear), "N.A.");
  EXPECT_EQ(Text(ResultGrid::Thinning, Q1, ThinYear), "ERROR");  // not a property of the removed trees

  // A typed value is never "not applicable".
  tables.UserFixed[D2][ThinYear] = true;
  EXPECT_EQ(Text(ResultGrid::Thinning, D2, ThinYear), "ERROR");
}

class ErrorScanTest : public TableCellsTest {
protected:
  bool Scan(RowModel model = RowModel::AllYears) { return ErrorString(tables, columns, model); }
  ColumnSelection columns;  // the default choice shows HD3, D2, dVtot ... but not dVdt
};

TEST_F(ErrorScanTest, PlausibleTableRaisesNothing) {
  tables.ValueError[HD1][3] = true;  // left from an earlier scan
  EXPECT_FALSE(Scan());
  EXPECT_FALSE(tables.ValueError[HD1][3]);
  EXPECT_EQ(ErrorLineText(false, Language::English), "");
}

TEST_F(ErrorScanTest, ValuesOutsideTheirRangeAreFlagged) {
  tables.Value(HD3, 2) = 56;
  tables.Value(D1, 4) = std::nan("");
  EXPECT_TRUE(Scan());
  EXPECT_TRUE(tables.ValueError[HD3][2]);
  EXPECT_TRUE(tables.ValueError[D1][4]);
  EXPECT_FALSE(tables.ValueError[HD3][1]);
  EXPECT_EQ(ErrorLineText(true, Language::English),
            "One or more values are too high/low (figures in red) or could not be calculated! - Please check your specifications.");
  EXPECT_EQ(ErrorLineText(true, Language::Danish),
            "En eller flere værdier er for høje/lave (tal angivet med rødt) eller kunne ikke beregnes! - Kontroller forudsætninger/indtastninger.");
}

TEST_F(ErrorScanTest, ValuesWithoutMeaningAreNotFlagged) {
  // Thinning values of unthinned years, and the last year's current increments.
  columns.RemainingColumns[columns.LastRemainingColumn + 1] = dHDdt;
  ++columns.LastRemainingColumn;
  tables.Value(dHDdt, LastYear) = Sentinel;
  EXPECT_FALSE(Scan());

  tables.Value(dHDdt, LastYear - 1) = Sentinel;
  EXPECT_TRUE(Scan());
  EXPECT_TRUE(tables.ValueError[dHDdt][LastYear - 1]);
}

TEST_F(ErrorScanTest, OnlyShownVariablesAreScanned) {
  tables.Value(dVdt, 3) = 61;  // not a column of the default choice
  EXPECT_FALSE(Scan());
  columns.RemainingChecked[14] = true;  // dV/dt
  columns.SetVariables();
  EXPECT_TRUE(Scan());
}

TEST_F(ErrorScanTest, ThinningYearIsJudgedOnlyWhenStemsWereRemoved) {
  tables.Value(D2, ThinYear) = 250;
  EXPECT_TRUE(Scan());
  EXPECT_TRUE(tables.ValueError[D2][ThinYear]);

  SetThinning(0);
  tables.Value(HD1, ThinYear) = 60;
  EXPECT_FALSE(Scan());
}

TEST_F(ErrorScanTest, CellsShownAsNotApplicableAreNotJudged) {
  // A search may leave a thinning of a fraction of a stem: its spacing is
  // astronomical, but the grid shows "N.A." and no error.
  SetThinning(0);
  tables.Value(N2, ThinYear) = 0.0003;
  tables.Value(RTA2, ThinYear) = 600000;
  ASSERT_EQ(Text(ResultGrid::Thinning, RTA2, ThinYear), "N.A.");
  EXPECT_FALSE(Scan());
  // A real thinning with the same spacing is an error.
  SetThinning(5);
  tables.Value(RTA2, ThinYear) = 600000;
  EXPECT_TRUE(Scan());
  EXPECT_TRUE(tables.ValueError[RTA2][ThinYear]);
}

TEST_F(ErrorScanTest, ThinningsOnlyModelScansTheRowsItShows) {
  tables.Value(HD1, 3) = 60;          // a year without a row
  tables.Value(HD1, LastYear) = 60;   // the last row
  tables.Value(HD1, 0) = 60;          // the first row
  EXPECT_TRUE(Scan(RowModel::ThinningsOnly));
  EXPECT_FALSE(tables.ValueError[HD1][3]);
  EXPECT_TRUE(tables.ValueError[HD1][LastYear]);
  EXPECT_TRUE(tables.ValueError[HD1][0]);
}

// Colours: with beech, whose data reach 24720 stems per ha.
class CellColoursTest : public TableCellsTest {
protected:
  CellColours Colours(ResultGrid grid, int variable, int row, bool selected = false,
                      bool focused = false, bool enabled = true) {
    CellPosition cell{grid, variable, row, enabled, focused, selected};
    return ColoursOfCell(tables, allColumns, cell, {regime, model, Beech});
  }

  void SetUp() override {
    TableCellsTest::SetUp();
    for (int v = 0; v < VariableRows; ++v) allColumns.push_back(static_cast<std::uint8_t>(v));
  }

  std::vector<std::uint8_t> allColumns;  // column k shows variable k
  RegimeSettings regime;
  ParameterStore store;
  GrowthModel model{store};
};

TEST_F(CellColoursTest, FirstMatchingRuleWins) {
  const CellColour window{CellColour::Kind::Window};
  const CellColour black = CellColour::Of(0, 0, 0);
  const CellColour white = CellColour::Of(255, 255, 255);
  tables.UserFixed[G2][ThinYear] = true;
  tables.ValueError[N3][ThinYear] = true;
  struct Case {
    ResultGrid grid;
    int variable, row;
    bool selected, focused, enabled;
    CellColour background, text;
  };
  const int thinRow = ThinYear + 1;
  const Case cases[] = {
      {ResultGrid::Thinning, G2, thinRow, true, true, false, CellColour::Of(230, 230, 230), CellColour::Of(164, 164, 164)},
      {ResultGrid::Thinning, G2, thinRow, true, true, true, CellColour::Of(0, 100, 150), white},
      {ResultGrid::Thinning, G2, thinRow, true, false, true, CellColour::Of(150, 150, 170), white},
      {ResultGrid::Thinning, T, 0, false, false, true, CellColour::Of(0, 150, 150), white},
      {ResultGrid::Thinning, G2, 0, false, false, true, {CellColour::Kind::ButtonFace}, black},
      {ResultGrid::BeforeThin, T, 1, false, false, true, CellColour::Of(170, 220, 220), black},
      {ResultGrid::BeforeThin, D1, 2, false, false, true, CellColour::Of(200, 200, 250), black},
      {ResultGrid::BeforeThin, D1, 1, false, false, true, CellColour::Of(200, 200, 250), black},  // first year unthinned
      {ResultGrid::Thinning, RTA2, thinRow, false, false, true, CellColour::Of(200, 200, 250), black},
      {ResultGrid::Thinning, G2, thinRow, false, false, true, CellColour::Of(250, 250, 150), CellColour::Of(0, 128, 0)},
      {ResultGrid::Thinning, V2, thinRow, false, false, true, CellColour::Of(190, 250, 190), black},  // blocked by G2
      {ResultGrid::Thinning, N2, thinRow, false, false, true, window, black},  // N2 with G2 is allowed
      {ResultGrid::Remaining, N3, thinRow, false, false, true, CellColour::Of(190, 250, 190), CellColour::Of(220, 0, 0)},
  };
  for (const Case& c : cases) {
    CellColours colours = Colours(c.grid, c.variable, c.row, c.selected, c.focused, c.enabled);
    EXPECT_EQ(colours.background, c.background) << "variable " << c.variable << " row " << c.row;
    EXPECT_EQ(colours.text, c.text) << "variable " << c.variable << " row " << c.row;
  }
  tables.UserFixed[G2][ThinYear] = false;
  EXPECT_EQ(Colours(ResultGrid::Remaining, N3, ThinYear + 1).background, CellColour::Of(250, 190, 190));
  EXPECT_EQ(Colours(ResultGrid::Remaining, D3, ThinYear + 1).background, window);
}

TEST_F(CellColoursTest, OverruledConstraintAndDataLimitsColourTheText) {
  regime.ThinGMax = 25;  // G1 = 30 lies outside the window in every year
  const int thinRow = ThinYear + 1;
  EXPECT_EQ(Colours(ResultGrid::Thinning, G2, thinRow).background, CellColour::Of(190, 190, 190));
  EXPECT_EQ(Colours(ResultGrid::Thinning, G2, thinRow).text, CellColour::Of(128, 0, 128));
  EXPECT_EQ(Colours(ResultGrid::BeforeThin, G1, thinRow).text, CellColour::Of(128, 0, 128));
  EXPECT_EQ(Colours(ResultGrid::BeforeThin, G1, 2).text, CellColour::Of(0, 0, 0));  // not a thinning age

  // The first year's state may be typed even so.
  tables.ThinAgeSet.set(20);
  tables.IsThinYear[0] = true;
  EXPECT_EQ(Colours(ResultGrid::BeforeThin, G1, 1).background, CellColour{CellColour::Kind::Window});
  EXPECT_EQ(Colours(ResultGrid::BeforeThin, G1, 1).text, CellColour::Of(0, 0, 0));

  tables.Value(N1, 2) = 30000;
  tables.Value(N3, 2) = 30000;
  tables.Value(N2, 2) = 30000;
  EXPECT_EQ(Colours(ResultGrid::BeforeThin, N1, 3).text, CellColour::Of(64, 64, 250));
  EXPECT_EQ(Colours(ResultGrid::Remaining, N3, 3).text, CellColour::Of(64, 64, 250));
  EXPECT_EQ(Colours(ResultGrid::Thinning, N2, 3).text, CellColour::Of(0, 0, 0));
  EXPECT_EQ(Colours(ResultGrid::BeforeThin, N1, 4).text, CellColour::Of(0, 0, 0));

  tables.Value(T, 2) = 212;  // older than the oldest beech stand in the data
  EXPECT_EQ(Colours(ResultGrid::Remaining, T, 3).text, CellColour::Of(64, 64, 250));
  EXPECT_EQ(Colours(ResultGrid::Thinning, T, 3).text, CellColour::Of(0, 0, 0));
}

}  // namespace
}  // namespace orven
