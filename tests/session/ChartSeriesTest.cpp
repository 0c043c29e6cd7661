#include "app/session/ChartSeries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "SessionFixture.h"

namespace orven::test {
namespace {

// A table from 20 to 80 with thinnings at 30 and 40: N1 and N3 differ in the
// thinning years only, N2 and G2 carry the thinning amounts.
ProjectionTables ThinnedTable() {
  ProjectionTables t;
  t.TableStartAge = 20;
  t.TableEndAge = 80;
  for (int year = 0; year <= t.LastYearIndex(); ++year) {
    const int age = 20 + year;
    t.Value(T, year) = age;
    t.Value(N1, year) = 3000 - 20 * year;
    t.Value(N3, year) = t.Value(N1, year);
    t.Value(HD1, year) = t.Value(HD3, year) = 5 + 0.3 * year;
  }
  for (int age : {30, 40}) {
    t.ThinAgeSet.set(static_cast<std::size_t>(age));
    const int year = age - 20;
    t.Value(N3, year) = t.Value(N1, year) - 500;
    t.Value(N2, year) = 500;
    t.Value(G2, year) = 4.5;
  }
  return t;
}

TEST(ChartSeries, VerticalShiftsGiveTwoPointsInEachThinningYear) {
  const ProjectionTables t = ThinnedTable();
  const ChartSeries shifted = SeriesOf(t, T, N3, /*verticalShift=*/true, /*enabled=*/true);
  ASSERT_EQ(shifted.Points.size(), 61u + 2u);
  std::size_t at30 = 0;
  while (shifted.Points[at30].x != 30) ++at30;
  // N1 first, then N3: the line drops at the thinning.
  EXPECT_EQ(shifted.Points[at30], (ChartPoint{30, t.Value(N1, 10)}));
  EXPECT_EQ(shifted.Points[at30 + 1], (ChartPoint{30, t.Value(N3, 10)}));
  EXPECT_EQ(shifted.Points[at30 + 2], (ChartPoint{31, t.Value(N3, 11)}));
  for (const double age : {30.0, 40.0, 35.0, 20.0, 80.0}) {
    const auto count = std::count_if(shifted.Points.begin(), shifted.Points.end(),
                                     [age](const ChartPoint& p) { return p.x == age; });
    EXPECT_EQ(count, age == 30 || age == 40 ? 2 : 1) << "age " << age;
  }

  const ChartSeries flat = SeriesOf(t, T, N3, false, true);
  ASSERT_EQ(flat.Points.size(), 61u);
  for (int year = 0; year <= 60; ++year)
    EXPECT_EQ(flat.Points[static_cast<std::size_t>(year)], (ChartPoint{20.0 + year, t.Value(N3, year)}));

  // Drops belong to remaining-stand variables against age only.
  EXPECT_EQ(SeriesOf(t, T, N1, true, true).Points.size(), 61u);
  EXPECT_EQ(SeriesOf(t, HD1, N3, true, true).Points.size(), 61u);
}

TEST(ChartSeries, ThinningAmountsAreStairsHalfAYearEarly) {
  ProjectionTables t = ThinnedTable();
  for (int year = 0; year <= t.LastYearIndex(); ++year)
    if (!t.IsThinningAge(20 + year)) t.Value(G2, year) = -1e24;  // no thinning: missing
  const ChartSeries s = SeriesOf(t, T, G2, true, true);
  EXPECT_EQ(s.Style, (ChartStyle{.Line = true, .Markers = false, .Stairs = true}));
  EXPECT_EQ(s.Points, (std::vector<ChartPoint>{{29.5, 4.5}, {39.5, 4.5}}));
}

TEST(ChartSeries, StyleFollowsTheAxisVariables) {
  struct Case {
    int x, y;
    ChartStyle style;
  };
  const Case cases[] = {
      {T, HD3, {true, false, false}},  {T, D2, {true, true, false}},   {HD1, Q3, {true, true, false}},
      {Hg3, V2, {true, false, true}},  {T, N2, {true, false, true}},   {N1, HD3, {false, true, false}},
      {D3, G2, {false, true, false}},  {dVtot, V3, {false, true, false}},
  };
  for (const Case& c : cases) EXPECT_EQ(StyleOf(c.x, c.y), c.style) << c.x << " against " << c.y;
}

TEST(ChartSeries, AgeAxisIsFixedOneYearBeyondTheTableOtherwiseAutomatic) {
  const ProjectionTables t = ThinnedTable();
  const ChartSeries age = SeriesOf(t, T, HD3, true, true);
  EXPECT_TRUE(age.FixedXRange);
  EXPECT_EQ(age.XMin, 19);
  EXPECT_EQ(age.XMax, 81);

  const ChartSeries byStems = SeriesOf(t, N1, HD3, true, true);
  EXPECT_FALSE(byStems.FixedXRange);
  EXPECT_FALSE(byStems.Style.Line);
  EXPECT_TRUE(byStems.Style.Markers);
  EXPECT_EQ(byStems.Points.size(), 61u);
}

TEST(ChartSeries, MissingValuesAndDisabledChartsGiveNoPoints) {
  ProjectionTables t = ThinnedTable();
  t.Value(N3, 0) = -1e24;
  t.Value(T, 5) = -100000;  // exactly the bound: missing
  t.Value(N3, 7) = -99999;  // just above: present
  const ChartSeries s = SeriesOf(t, T, N3, false, true);
  EXPECT_EQ(s.Points.size(), 59u);
  EXPECT_EQ(s.Points.front().x, 21);
  EXPECT_TRUE(SeriesOf(t, T, N3, true, /*enabled=*/false).Points.empty());
  // A drop whose stand before the thinning is missing keeps the point after it.
  t.Value(N1, 10) = -1e24;
  const ChartSeries drops = SeriesOf(t, T, N3, true, true);
  EXPECT_EQ(std::count_if(drops.Points.begin(), drops.Points.end(), [](const ChartPoint& p) { return p.x == 30; }), 1);
  EXPECT_EQ(drops.Points.size(), 59u + 1u);
  EXPECT_TRUE(SeriesOf(t, T, NoVariable, true, true).Points.empty());
}

TEST(ChartSeries, LargeGraphOrdersByXKeepingTiesInYearOrder) {
  ProjectionTables t = ThinnedTable();
  const ChartSeries s = SeriesOf(t, N1, N3, true, true, /*ascendingX=*/true);
  ASSERT_EQ(s.Points.size(), 61u);
  EXPECT_TRUE(std::is_sorted(s.Points.begin(), s.Points.end(),
                             [](const ChartPoint& a, const ChartPoint& b) { return a.x < b.x; }));
  EXPECT_EQ(s.Points.front(), (ChartPoint{t.Value(N1, 60), t.Value(N3, 60)}));
  // Ties: the drop at a thinning stays in its order when sorted.
  const ChartSeries drops = SeriesOf(t, T, N3, true, true, true);
  EXPECT_EQ(drops.Points, SeriesOf(t, T, N3, true, true, false).Points);
}

TEST(ChartSeries, SessionChartsFollowTheirAxesAfterTheFinalStep) {
  Session s(ShippedStore(), Language::English, '.');
  EXPECT_TRUE(ChartSeriesOf(s, 1).Points.empty());
  Walk walk;
  walk.endAge = "80";
  WalkThrough(s, walk);
  ASSERT_TRUE(s.Steps.FinalEnabled);
  const ChartSeries stems = ChartSeriesOf(s, 1);  // N3 against age by default
  EXPECT_EQ(stems.YVariable, N3);
  std::size_t thinnings = 0;
  for (int age = s.Tables.TableStartAge; age <= s.Tables.TableEndAge; ++age) thinnings += s.Tables.IsThinningAge(age);
  ASSERT_GT(thinnings, 0u);
  EXPECT_EQ(stems.Points.size(), std::size_t(s.Tables.LastYearIndex() + 1) + thinnings);
  EXPECT_EQ(stems.XMin, s.Tables.TableStartAge - 1);

  s.GraphXVariable[LargeChart] = D3;
  s.GraphYVariable[LargeChart] = V3;
  const ChartSeries large = ChartSeriesOf(s, LargeChart);
  EXPECT_EQ(large.XVariable, D3);
  EXPECT_TRUE(std::is_sorted(large.Points.begin(), large.Points.end(),
                             [](const ChartPoint& a, const ChartPoint& b) { return a.x < b.x; }));
  s.VerticalShift = false;
  EXPECT_EQ(ChartSeriesOf(s, 1).Points.size(), std::size_t(s.Tables.LastYearIndex() + 1));
}

TEST(ChartSizes, SmallChartFontsStepWithTheFactor) {
  EXPECT_EQ(ChartFontSize(1.0), 8);
  EXPECT_EQ(ChartFontSize(1.2), 10);
  EXPECT_EQ(ChartFontSize(1.2 * 1.2), 12);
  EXPECT_EQ(ChartFontSize(1.0 / 1.2), 7);
}

TEST(ChartSizes, LargeGraphSizesFromTheWindow) {
  struct Case {
    int w, h;
    int base;
  };
  // Both the diagonal and the height must pass a step.
  const Case cases[] = {{900, 501, 12}, {1200, 500, 11}, {800, 451, 11}, {640, 401, 10},
                        {480, 351, 9},  {300, 301, 8},   {390, 331, 8},  {240, 240, 7}, {2000, 300, 7}};
  for (const Case& c : cases) {
    const LargeGraphSizes sizes = LargeGraphSizesOf(c.w, c.h, 1.0);
    const double d = std::sqrt(double(c.w) * c.w + double(c.h) * c.h);
    EXPECT_EQ(sizes.BaseFont, c.base) << c.w << " x " << c.h;
    EXPECT_EQ(sizes.Font, c.base);
    EXPECT_EQ(sizes.Marker, std::lround(d / 300) + 1);
    EXPECT_EQ(sizes.Pen, std::lround(d / 1000) + 1);
  }
  EXPECT_EQ(LargeGraphSizesOf(900, 501, 1.2).Font, 14);
  EXPECT_EQ(LargeGraphSizesOf(300, 301, 1.2).Font, 10);  // round(9.6)
  EXPECT_EQ(LargeGraphSizesOf(1600, 1200, 1.0), (LargeGraphSizes{12, 12, 8, 3}));
}

TEST(ChartTitle, PathPartAndSpeciesName) {
  EXPECT_EQ(LargeGraphTitle("", Beech, Language::English), "Beech (Fagus sylvatica)");
  EXPECT_EQ(LargeGraphTitle("", 6, Language::Danish), "Ædelgran (Abies alba)");
  EXPECT_EQ(LargeGraphTitle("", 7, Language::Danish), "Ukendt");
  EXPECT_EQ(LargeGraphTitle("", -1, Language::English), "Unknown");
  EXPECT_EQ(LargeGraphTitle("/home/ann/oak.orven", 1, Language::English),
            "/home/ann/oak.orven :    Oak (Quercus robur/petraea)");
  EXPECT_EQ(TitlePathPart("C:\\forest\\2024\\plot7.orven"), "C:\\...\\plot7.orven");
  EXPECT_EQ(TitlePathPart("C:\\plot7.orven"), "C:\\plot7.orven");
  EXPECT_EQ(TitlePathPart("D:relative.orven"), "D:relative.orven");
}

}  // namespace
}  // namespace orven::test

namespace orven::test {
namespace {

TEST(GraphsPageLayout, ThreeChartsInTwoRows) {
  // 900 x 480: columns at 8, 305, 602; rows at 8 and 244; each 291 x 229.
  const ChartRect expected[] = {{8, 8, 291, 229},   {305, 8, 291, 229},   {602, 8, 291, 229},
                                {8, 244, 291, 229}, {305, 244, 291, 229}, {602, 244, 291, 229}};
  for (int chart = 0; chart < 6; ++chart) EXPECT_EQ(GraphsPageChartRect(chart, 900, 480), expected[chart]) << chart;
  // Integer division throughout: odd sizes round down.
  EXPECT_EQ(GraphsPageChartRect(5, 601, 301), (ChartRect{2 * 197 + 8, 154, 191, 140}));
  EXPECT_EQ(CopyMenuPosition({100, 50}, {40, 6}, 291, 229), (ScreenPoint{100 + 40 + 58, 50 + 6 + 114}));
}

TEST(AxisChoice, ChangesOneAxisOfOneChart) {
  Session s(ShippedStore(), Language::English, '.');
  const auto x = s.GraphXVariable, y = s.GraphYVariable;
  ChooseAxisVariable(s, 2, 2, G1);
  EXPECT_EQ(s.GraphYVariable[2], G1);
  EXPECT_EQ(s.GraphXVariable, x);
  auto changed = y;
  changed[2] = G1;
  EXPECT_EQ(s.GraphYVariable, changed);
  ChooseAxisVariable(s, LargeChart, 1, N1);
  EXPECT_EQ(s.GraphXVariable[LargeChart], N1);
  ChooseAxisVariable(s, 0, 1, std::nullopt);  // nothing selected
  ChooseAxisVariable(s, 0, 1, VariableCount);
  EXPECT_EQ(s.GraphXVariable[0], T);

  OpenInLargeGraph(s, 2);
  EXPECT_EQ(s.GraphXVariable[LargeChart], T);
  EXPECT_EQ(s.GraphYVariable[LargeChart], G1);
}

}  // namespace
}  // namespace orven::test
