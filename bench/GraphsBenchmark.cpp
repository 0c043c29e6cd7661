// Redrawing the six charts of the graphs page for a 235-year table (ages 16
// to 250, a thinning every year, vertical drops on): each iteration builds
// the six series from the table and paints every chart into its buffer, as
// the page does after every recomputation.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "app/session/ChartSeries.h"
#include "app/session/Session.h"
#include "graphs/ChartWidget.h"
#include "model/GrowthModel.h"
#include "support/StandardWalk.h"

using namespace orven;

namespace {

// Beech of site class 1.5, the moderate standard regime, thinned every year.
Session& LongTable() {
  static ParameterStore store;
  static Session* session = [] {
    ReadParametersAtStartUp(store, ORVEN_PARAMETER_FILE, Language::English);
    auto* s = new Session(store, Language::English, '.');
    testing::WalkToTheThinningPage(*s);
    s->AgeRangeEntered();
    s->edtStartAgeExit("16");
    s->edtEndAgeExit("250");
    s->ConstraintEdited();
    s->InitStateEntered();
    s->ShowTablesPage();
    s->Schedule.edtThinInterval1 = "1";
    s->rgThinIntervalClick(0);
    s->ExamineThinInterval();
    s->WriteTables();
    s->TakeMessages();
    return s;
  }();
  return *session;
}

void BM_RedrawSixCharts(benchmark::State& state) {
  Session& s = LongTable();
  QWidget page;
  page.resize(900, 480);
  std::array<ChartWidget*, 6> charts{};
  for (int i = 0; i < 6; ++i) {
    charts[static_cast<std::size_t>(i)] = new ChartWidget(&page);
    const ChartRect r = GraphsPageChartRect(i, 900, 480);
    charts[static_cast<std::size_t>(i)]->setGeometry(r.Left, r.Top, r.Width, r.Height);
  }
  page.show();
  QApplication::processEvents();
  if (s.Tables.LastYearIndex() + 1 != 235 || s.Tables.ThinAgeCount < 200) {
    state.SkipWithError("the table is not 235 years thinned every year");
    return;
  }
  std::size_t points = 0;
  for (auto _ : state) {
    points = 0;
    for (int i = 0; i < 6; ++i) {
      ChartWidget& chart = *charts[static_cast<std::size_t>(i)];
      const ChartSeries series = ChartSeriesOf(s, i);
      points += series.Points.size();
      chart.Draw(series, QString::fromStdString(AxisTitleOf(series.XVariable, Language::English)),
                 QString::fromStdString(AxisTitleOf(series.YVariable, Language::English)));
      chart.replot(QCustomPlot::rpImmediateRefresh);
    }
  }
  state.counters["years"] = s.Tables.LastYearIndex() + 1;
  state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_RedrawSixCharts)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
