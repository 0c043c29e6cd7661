#include <gtest/gtest.h>

#include "CommandSupport.h"
#include "app/session/ChartSeries.h"
#include "app/session/Session.h"
#include "cli/SeriesCommand.h"

namespace orven {
namespace {

const std::string Example = ORVEN_DATA_DIR "/../examples/beech-site-class.orven";

// The series the program's chart would draw, from the same file.
ChartSeries ProgramSeries(int x, int y, bool shift, int chart) {
  Session s(test::ProgramStore(), Language::Danish, '.');
  EXPECT_EQ(s.Open(Example), OpenOutcome::Opened);
  s.GraphXVariable[static_cast<std::size_t>(chart)] = x;
  s.GraphYVariable[static_cast<std::size_t>(chart)] = y;
  s.VerticalShift = shift;
  return ChartSeriesOf(s, chart);
}

TEST(SeriesCommand, PrintsTheChartsPointsInDrawingOrder) {
  test::TemporaryFolder folder;
  struct Case {
    std::string arguments;
    int x, y;
    bool shift;
    int chart;
  };
  const Case cases[] = {
      {"--series T N3", T, N3, true, 0},
      {"--no-vertical-shift --series 0 22", T, N3, false, 0},
      {"--series T G2", T, G2, true, 0},
      {"--large --series D3 V3", D3, V3, true, LargeChart},
  };
  for (const Case& c : cases) {
    const test::CommandOutcome run = test::RunOrvenTable(folder, c.arguments + " '" + Example + "'");
    ASSERT_EQ(run.status, 0) << c.arguments << ": " << run.err;
    const ChartSeries expected = ProgramSeries(c.x, c.y, c.shift, c.chart);
    ASSERT_FALSE(expected.Points.empty());
    EXPECT_EQ(run.out, cli::SeriesText(expected)) << c.arguments;
  }
}

TEST(SeriesCommand, TextCarriesAxisStyleAndExactNumbers) {
  ChartSeries s;
  s.XVariable = T;
  s.Style = {.Line = true, .Markers = false, .Stairs = true};
  s.FixedXRange = true;
  s.XMin = 19;
  s.XMax = 81;
  s.Points = {{29.5, 0.1}, {39.5, 4.25}};
  EXPECT_EQ(cli::SeriesText(s), "x-axis\tT\t19\t81\nstyle\tline+stairs\n29.5\t0.1\n39.5\t4.25\n");
  s.XVariable = N1;
  s.FixedXRange = false;
  s.Style = {};
  s.Points.clear();
  EXPECT_EQ(cli::SeriesText(s), "x-axis\tN1\tauto\nstyle\tnone\n");
}

TEST(SeriesCommand, RefusesUnknownVariables) {
  test::TemporaryFolder folder;
  for (const char* arguments : {"--series T Q9", "--series 46 N3", "--series T"}) {
    const test::CommandOutcome run = test::RunOrvenTable(folder, std::string(arguments) + " '" + Example + "'");
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_TRUE(run.out.empty());
  }
  EXPECT_EQ(cli::ParseVariableName("dVtot"), dVtot);
  EXPECT_EQ(cli::ParseVariableName("45"), 45);
  EXPECT_EQ(cli::ParseVariableName("-1"), std::nullopt);
}

}  // namespace
}  // namespace orven
