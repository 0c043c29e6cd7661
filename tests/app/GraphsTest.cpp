// The graphs page, the large graph and the axis dialog: the charts draw the
// core's series, axis clicks re-target the dialog, the large graph sizes
// itself from its window, and the exports give what they promise.
#include <QClipboard>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QRegularExpression>

#include "DesktopFixture.h"
#include "app/pages/GraphsPage.h"
#include "app/session/ChartSeries.h"
#include "app/windows/AxisDialog.h"
#include "app/windows/GraphWindow.h"
#include "catalogue/VariableCatalogue.h"
#include "graphs/ChartExport.h"
#include "graphs/ChartWidget.h"

using namespace orven;
using namespace orven::testing;

namespace {

const QByteArray EnglishPreferences = " 1 1 1 0 1\n";

QString ExampleFile() {
  return QFileInfo(QStringLiteral(ORVEN_PARAMETER_FILE)).absolutePath() +
         QStringLiteral("/../examples/beech-site-class.orven");
}

// An English program with the beech example open, on the graphs page.
struct GraphsProgram : Program {
  GraphsProgram() : Program(true, EnglishPreferences) {
    const std::string path = QFileInfo(ExampleFile()).canonicalFilePath().toStdString();
    desktop->Controller().Run([&](Session& s) { s.Open(path); });
    Main().GoToPage(MainWindow::GraphsTab);
    QApplication::processEvents();
  }
  GraphsPage& Page() { return *static_cast<GraphsPage*>(Main().PageAt(MainWindow::GraphsTab)); }
  ChartWidget& Chart(int i) { return *Page().Chart(i); }
  GraphWindow& Large() { return desktop->LargeGraph(); }
  AxisDialog& Axis() { return desktop->Axis(); }
};

// The chart laid out and painted, so that its axes know where they are.
void Paint(ChartWidget& chart) { chart.replot(QCustomPlot::rpImmediateRefresh); }

// The colour of the chart's panel, in its corner.
QColor PanelColour(ChartWidget& chart) {
  chart.replot(QCustomPlot::rpImmediateRefresh);
  return chart.grab().toImage().pixelColor(1, 1);
}

QPoint LeftAxisPoint(ChartWidget& chart) {
  const QRect plot = chart.PlotArea();
  return {plot.left() - 4, plot.center().y()};
}

QPoint BottomAxisPoint(ChartWidget& chart) {
  const QRect plot = chart.PlotArea();
  return {plot.center().x(), plot.bottom() + 6};
}

void CompareWithCore(ChartWidget& chart, const Session& s, int index) {
  const ChartSeries series = ChartSeriesOf(s, index);
  QVERIFY(!series.Points.empty());
  QVERIFY(chart.DrawnPoints() == series.Points);
  QVERIFY(chart.DrawnStyle() == series.Style);
  QCOMPARE(chart.XTitle(), QString::fromStdString(NameOf(series.XVariable, Language::English)));
  QCOMPARE(chart.YTitle(), QString::fromStdString(NameOf(series.YVariable, Language::English)));
  if (series.FixedXRange) {
    QCOMPARE(chart.xAxis->range().lower, series.XMin);
    QCOMPARE(chart.xAxis->range().upper, series.XMax);
  }
}

// The page size of a PDF's first page in points, from its MediaBox.
QSizeF PdfPageSize(const QByteArray& pdf) {
  const QRegularExpression box(QStringLiteral("/MediaBox\\s*\\[\\s*([\\d.]+)\\s+([\\d.]+)\\s+([\\d.]+)\\s+([\\d.]+)"));
  const QRegularExpressionMatch m = box.match(QString::fromLatin1(pdf));
  if (!m.hasMatch()) return {};
  return {m.captured(3).toDouble() - m.captured(1).toDouble(), m.captured(4).toDouble() - m.captured(2).toDouble()};
}

}  // namespace

class GraphsTest : public QObject {
  Q_OBJECT

private slots:
  void init() { QApplication::clipboard()->clear(); }

  void ChartsAreDisabledAndEmptyBeforeTheFinalStep() {
    Program program(true, EnglishPreferences);
    program.Main().GoToPage(MainWindow::GraphsTab);
    auto& page = *static_cast<GraphsPage*>(program.Main().PageAt(MainWindow::GraphsTab));
    for (int i = 0; i < GraphsPage::ChartCount; ++i) {
      QVERIFY(!page.Chart(i)->isEnabled());
      QVERIFY(page.Chart(i)->DrawnPoints().empty());
      QCOMPARE(PanelColour(*page.Chart(i)), page.palette().color(QPalette::Button));
    }
  }

  void ChartsHoldTheCoresPointsLaidOutInTwoRows() {
    GraphsProgram program;
    const Session& s = program.session();
    for (int i = 0; i < GraphsPage::ChartCount; ++i) {
      ChartWidget& chart = program.Chart(i);
      QCOMPARE(chart.objectName(), QStringLiteral("Chart%1").arg(i + 1));
      QVERIFY(chart.isEnabled());
      QCOMPARE(PanelColour(chart), QColor(Qt::white));
      QCOMPARE(chart.toolTip(), QStringLiteral("Right-click to see the pop-up menu"));
      QCOMPARE(chart.AxisFontSize(), 8);
      CompareWithCore(chart, s, i);
      const ChartRect r = GraphsPageChartRect(i, program.Page().width(), program.Page().height());
      QCOMPARE(chart.geometry(), QRect(r.Left, r.Top, r.Width, r.Height));
    }
    // The stem-number chart drops at each thinning.
    const auto points = program.Chart(1).DrawnPoints();
    const auto drop = std::adjacent_find(points.begin(), points.end(),
                                         [](const ChartPoint& a, const ChartPoint& b) { return a.x == b.x && a.y > b.y; });
    QVERIFY(drop != points.end());
    QVERIFY(program.session().Tables.IsThinningAge(int(drop->x)));
  }

  void VerticalShiftsAndFontStepsRedrawTheCharts() {
    GraphsProgram program;
    const std::size_t shifted = program.Chart(1).DrawnPoints().size();
    program.Action("miVertShiftGraph")->trigger();
    QVERIFY(!program.session().VerticalShift);
    QCOMPARE(program.Chart(1).DrawnPoints().size(), std::size_t(program.session().Tables.LastYearIndex() + 1));
    QVERIFY(program.Chart(1).DrawnPoints().size() < shifted);
    program.Action("miIncFontG")->trigger();
    for (int i = 0; i < GraphsPage::ChartCount; ++i) QCOMPARE(program.Chart(i).AxisFontSize(), 10);
    program.Action("miIncFontm")->trigger();
    QCOMPARE(program.Chart(5).AxisFontSize(), 12);
    QVERIFY(!program.Action("miIncFontG")->isEnabled());
  }

  void AxisClickThenOkChangesOnlyThatChart() {
    GraphsProgram program;
    Session& s = program.session();
    std::vector<std::vector<ChartPoint>> before;
    for (int i = 0; i < GraphsPage::ChartCount; ++i) before.push_back(program.Chart(i).DrawnPoints());

    ChartWidget& volume = program.Chart(2);
    Paint(volume);
    QTest::mouseClick(&volume, Qt::LeftButton, {}, LeftAxisPoint(volume));
    QVERIFY(program.Axis().isVisible());
    QCOMPARE(program.Axis().AxisChart(), 2);
    QCOMPARE(program.Axis().AxisKind(), 2);
    auto* list = program.Axis().findChild<QListWidget*>(QStringLiteral("lbAxisVariable"));
    QCOMPARE(list->count(), VariableCount);
    QCOMPARE(list->item(G1)->text(), QString::fromStdString(NameOf(G1, Language::English)));
    list->setCurrentRow(G1);
    QTest::mouseClick(program.Axis().findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton);

    QVERIFY(!program.Axis().isVisible());
    QCOMPARE(s.GraphYVariable[2], int(G1));
    QCOMPARE(volume.YTitle(), QString::fromStdString(NameOf(G1, Language::English)));
    CompareWithCore(volume, s, 2);
    for (int i : {0, 1, 3, 4, 5}) QVERIFY(program.Chart(i).DrawnPoints() == before[std::size_t(i)]);

    // The bottom axis of another chart re-targets the open dialog; OK with
    // nothing selected changes nothing.
    ChartWidget& first = program.Chart(0);
    Paint(first);
    QTest::mouseClick(&first, Qt::LeftButton, {}, BottomAxisPoint(first));
    QCOMPARE(program.Axis().AxisChart(), 0);
    QCOMPARE(program.Axis().AxisKind(), 1);
    QVERIFY(list->selectedItems().isEmpty());
    QTest::mouseClick(program.Axis().findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton);
    QCOMPARE(s.GraphXVariable[0], int(T));
  }

  void RightClickOpensTheCopyMenuOnThatChart() {
    GraphsProgram program;
    ChartWidget& chart = program.Chart(4);
    Paint(chart);
    QTest::mouseClick(&chart, Qt::RightButton, {}, chart.PlotArea().center());
    QMenu* menu = program.Main().Popup("pmCopy");
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(program.Page().SelectedChart(), 4);
    menu->close();
    program.Action("miCopyGraph")->trigger();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    QVERIFY(data->hasImage());
    QVERIFY(data->data(QStringLiteral("image/svg+xml")).contains("<svg"));
    QCOMPARE(qvariant_cast<QImage>(data->imageData()).width(), 2 * chart.width());
  }

  void DoubleClickOpensTheLargeGraphThatSizesItselfFromTheWindow() {
    GraphsProgram program;
    Session& s = program.session();
    ChartWidget& volume = program.Chart(2);  // V3 against age
    QTest::mouseDClick(&volume, Qt::LeftButton, {}, volume.PlotArea().center());
    QTRY_VERIFY(program.Large().isVisible());
    QVERIFY(program.Main().CurrentViewState().LargeGraphVisible);
    QCOMPARE(s.GraphXVariable[LargeChart], int(T));
    QCOMPARE(s.GraphYVariable[LargeChart], int(V3));
    ChartWidget& large = *program.Large().Chart();
    CompareWithCore(large, s, LargeChart);
    QCOMPARE(program.Large().windowTitle(), QStringLiteral(" Click graph axes to select variables"));
    QCOMPARE(program.Large().Chart()->toolTip(), QStringLiteral("Right-click to see the pop-up menu"));

    program.Large().resize(960, 560);
    QTRY_COMPARE(large.size(), QSize(960, 560));
    const double d = std::sqrt(960.0 * 960.0 + 560.0 * 560.0);
    QCOMPARE(large.AxisFontSize(), 12);
    QCOMPARE(large.TitleFontSize(), 12);
    QCOMPARE(large.MarkerSize(), int(std::lround(d / 300)) + 1);
    QCOMPARE(large.PenWidth(), int(std::lround(d / 1000)) + 1);
    program.Large().Popup()->findChild<QAction*>(QStringLiteral("miIncFontLG"))->trigger();
    QCOMPARE(large.AxisFontSize(), int(std::lround(1.2 * 12)));
    QCOMPARE(program.Chart(0).AxisFontSize(), 10);

    // An axis click on the large graph targets chart 7.
    Paint(large);
    QTest::mouseClick(&large, Qt::LeftButton, {}, BottomAxisPoint(large));
    QCOMPARE(program.Axis().AxisChart(), LargeChart);
    QCOMPARE(program.Axis().AxisKind(), 1);

    // A recomputation redraws the visible window.
    s.Tables.Value(V3, 10) = -1e24;
    const std::size_t drawn = large.DrawnPoints().size();
    program.desktop->Controller().Run([](Session&) {});
    QCOMPARE(large.DrawnPoints().size(), drawn - 1);

    program.Large().close();
    QVERIFY(!program.Main().CurrentViewState().LargeGraphVisible);
    program.Action("miLargeGraph")->trigger();  // shown again with its own variables
    QVERIFY(program.Large().isVisible());
    QCOMPARE(s.GraphYVariable[LargeChart], int(V3));
  }

  void LargeGraphTitleNamesTheFileAndTheSpecies() {
    GraphsProgram program;
    program.Action("miOpenLarge")->trigger();
    QTRY_VERIFY(program.Large().isVisible());
    const Session& s = program.session();
    QVERIFY(s.CurrentFileName.find('/') != std::string::npos);
    const QString expected = QString::fromStdString(s.CurrentFileName) + QStringLiteral(" :    Beech (Fagus sylvatica)");
    bool found = false;
    for (int i = 0; i < program.Large().Chart()->plotLayout()->elementCount(); ++i)
      if (auto* text = qobject_cast<QCPTextElement*>(program.Large().Chart()->plotLayout()->elementAt(i)))
        found = found || text->text() == expected;
    QVERIFY(found);
  }

  void PrintingToAPdfFileGivesALandscapePage() {
    GraphsProgram program;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(program.folder.Path("chart.pdf"));
    printer.setPageOrientation(QPageLayout::Portrait);
    const int resolution = printer.resolution();
    QVERIFY(PrintChart(program.Chart(0), printer));
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);  // restored
    QCOMPARE(printer.resolution(), resolution);
    const QSizeF page = PdfPageSize(program.folder.Read("chart.pdf"));
    QVERIFY2(page.width() > page.height(), qPrintable(QStringLiteral("%1 x %2").arg(page.width()).arg(page.height())));
  }

  void TickLabelsTakeTheDecimalSeparatorAndLongTitlesBreak() {
    ChartWidget chart;
    chart.resize(291, 229);
    ChartSeries series;
    series.Style.Line = true;
    series.Points = {{0, 0.1}, {1, 0.9}};
    const QString longTitle = QStringLiteral("Relative spacing of the remaining stand after thinning (%), RS3");
    chart.Draw(series, QStringLiteral("x"), longTitle);
    for (const bool comma : {true, false}) {
      chart.SetDecimalComma(comma);
      chart.replot(QCustomPlot::rpImmediateRefresh);
      const QString labels = chart.yAxis->tickVectorLabels().toList().join(QLatin1Char(' '));
      QVERIFY2(labels.contains(comma ? QLatin1Char(',') : QLatin1Char('.')), qPrintable(labels));
      QVERIFY2(!labels.contains(comma ? QLatin1Char('.') : QLatin1Char(',')), qPrintable(labels));
    }
    // Broken into lines at blanks, none longer than the chart is high.
    QCOMPARE(chart.YTitle(), longTitle);
    QVERIFY(chart.yAxis->label().contains(QLatin1Char('\n')));
    QCOMPARE(chart.yAxis->label().split(QLatin1Char('\n')).join(QLatin1Char(' ')), longTitle);
    const QFontMetrics metrics(chart.yAxis->labelFont());
    for (const QString& line : chart.yAxis->label().split(QLatin1Char('\n')))
      QVERIFY(metrics.horizontalAdvance(line) < chart.height());
  }

  void PaintingLeavesTheTableAsItWas() {
    GraphsProgram program;
    Session& s = program.session();
    const auto table = s.Tables.StandTable;
    for (int i = 0; i < GraphsPage::ChartCount; ++i) program.Chart(i).grab();
    program.desktop->Controller().Run([](Session& session) { session.WriteTables(); });
    QVERIFY(s.Tables.StandTable == table);
  }
};

QTEST_MAIN(GraphsTest)
#include "GraphsTest.moc"
