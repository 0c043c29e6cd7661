// The tables page as the user feels it, through the real widgets offscreen:
// (a) a value typed into a grid of a 235-year table (all years shown, a
// thinning every year, a constraint active) with automatic updating, until
// the table is recomputed and the three grids repainted; (b) a settings file
// opened through the File menu until its table is shown and painted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/Desktop.h"
#include "app/SessionController.h"
#include "app/pages/TablesPage.h"
#include "app/windows/FileCommands.h"
#include "app/windows/MainWindow.h"
#include "support/StandardWalk.h"

using namespace orven;

namespace {

class SilentPresenter : public MessagePresenter {
public:
  bool Show(const Message&) override { return false; }
};

// The program in a folder of its own, as a returning user starts it.
struct Program {
  Program() {
    QFile::copy(QStringLiteral(ORVEN_PARAMETER_FILE), folder.filePath(QStringLiteral("OrvenPar.drc")));
    QFile preferences(folder.filePath(QStringLiteral("$OrvStat.tmp")));
    preferences.open(QIODevice::WriteOnly);
    preferences.write(" 1 1 1 0 1\n");
    preferences.close();
    QDir::setCurrent(folder.path());
    desktop = std::make_unique<Desktop>(&presenter);
    desktop->Start();
    QApplication::setActiveWindow(&desktop->Main());
    QApplication::processEvents();
  }
  TablesPage& Tables() { return *static_cast<TablesPage*>(desktop->Main().PageAt(MainWindow::TablesTab)); }

  QTemporaryDir folder;
  SilentPresenter presenter;
  std::unique_ptr<Desktop> desktop;
};

void Repaint(TablesPage& page) {
  for (ResultGrid grid : {ResultGrid::BeforeThin, ResultGrid::Thinning, ResultGrid::Remaining})
    page.Grid(grid)->viewport()->repaint();
}

void BM_TypeIntoA235YearTable(benchmark::State& state) {
  Program program;
  program.desktop->Controller().Run([](Session& s) {
    testing::WalkToTheThinningPage(s);
    s.AgeRangeEntered();
    s.edtStartAgeExit("16");
    s.edtEndAgeExit("250");
    s.ConstraintEdited(1, 1, "5");
    s.ReadConstraints();
    s.InitStateEntered();
    s.ShowTablesPage();
    s.rgShowYearsClick(0);
    s.Schedule.edtThinInterval1 = "1";
    s.rgThinIntervalClick(0);
    s.ExamineThinInterval();
  });
  program.desktop->Main().ShowPage(MainWindow::TablesTab);
  QApplication::processEvents();
  const Session& s = program.desktop->Controller().session();
  if (s.Tables.TableRowCount != 235 || s.Tables.ThinAgeCount < 235 || !s.AutoUpdate) {
    state.SkipWithError("not a 235-year table thinned every year");
    return;
  }
  TablesPage& page = program.Tables();
  QTableView* view = page.Grid(ResultGrid::Thinning);
  int column = -1;
  const auto columns = s.ColumnsOf(ResultGrid::Thinning);
  for (std::size_t c = 0; c < columns.size(); ++c)
    if (columns[c] == G2) column = static_cast<int>(c);
  const int row = 40;
  const int year = s.Results.RowYears[static_cast<std::size_t>(row - 1)];
  view->setFocus(Qt::TabFocusReason);
  bool odd = false;
  for (auto _ : state) {
    view->setCurrentIndex(view->model()->index(row - 1, column));
    const double value = std::round(s.Tables.Value(G1, year) * (odd ? 10.0 : 12.0)) / 100.0;
    odd = !odd;
    const QString text = QString::number(value, 'f', 2);
    QTest::keyClick(view, text.at(0).toLatin1());
    QTest::keyClicks(QApplication::focusWidget(), text.mid(1));
    // Moving on commits the value; the table is recomputed and repainted.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    Repaint(page);
  }
  if (!s.Tables.Typed(G2, year)) state.SkipWithError("the value was not stored");
  state.counters["rows"] = s.Tables.TableRowCount;
}

void BM_OpenASettingsFile(benchmark::State& state) {
  Program program;
  const QString file = QStringLiteral(ORVEN_EXAMPLES_DIR "/oak-yield-class.orven");
  program.desktop->Main().Files().SetChooser([file](FileCommands::Dialog) { return file; });
  TablesPage& page = program.Tables();
  for (auto _ : state) {
    program.desktop->Main().Files().Open();
    Repaint(page);
  }
  const Session& s = program.desktop->Controller().session();
  if (s.CurrentFileName.empty() || program.desktop->Main().CurrentPage() != MainWindow::TablesTab)
    state.SkipWithError("the file was not opened");
  state.counters["rows"] = s.Tables.TableRowCount;
}

BENCHMARK(BM_TypeIntoA235YearTable)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenASettingsFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
