#include "app/pages/GraphsPage.h"

#include <QAction>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "app/SessionController.h"
#include "app/session/ChartSeries.h"
#include "app/windows/MainWindow.h"
#include "graphs/ChartExport.h"
#include "graphs/ChartWidget.h"

namespace orven {
namespace {

constexpr int GraphHelpContext = 23;

}  // namespace

GraphsPage::GraphsPage(SessionController& controller, QWidget* parent) : Page(controller, "TabSheet6", parent) {
  for (int i = 0; i < ChartCount; ++i) {
    auto* chart = new ChartWidget(this);
    chart->setObjectName(QStringLiteral("Chart%1").arg(i + 1));
    charts_[static_cast<std::size_t>(i)] = chart;
    connect(chart, &ChartWidget::AxisClicked, this, [this, i](int kind) { emit AxisClicked(i, kind); });
    connect(chart, &ChartWidget::BackgroundRightClicked, this, [this, i] { OpenCopyMenu(i); });
    connect(chart, &ChartWidget::DoubleClicked, this, [this, i] {
      controller_.Run([i](Session& s) { OpenInLargeGraph(s, i); });
      emit LargeGraphRequested();
    });
  }

  // pmCopy belongs to the main window, which builds its menus before its pages.
  if (auto* main = qobject_cast<MainWindow*>(parent)) {
    auto on = [this, main](const char* name, auto&& slot) {
      if (QAction* action = main->Action(name)) connect(action, &QAction::triggered, this, slot);
    };
    on("miCopyGraph", [this] { CopyChartToClipboard(*Chart(selected_)); });
    on("miOpenLarge", [this] {
      controller_.Run([this](Session& s) { OpenInLargeGraph(s, selected_); });
      emit LargeGraphRequested();
    });
    on("miPrintGraph", [this] { PrintSelected(); });
    on("miPrinterSetup", [this] {
      QPageSetupDialog dialog(&Printer(), this);
      dialog.exec();
    });
    on("miGraphHelp", [this] { emit HelpRequested(GraphHelpContext); });
  }
  Retranslate();
}

GraphsPage::~GraphsPage() = default;

QPrinter& GraphsPage::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

void GraphsPage::Refresh() {
  // Drawn when seen: a hidden page only remembers that it is out of date.
  if (isVisible())
    ShowGraphs();
  else
    stale_ = true;
}

void GraphsPage::Retranslate() {
  const QString hint = QString::fromUtf8(controller_.English() ? "Right-click to see the pop-up menu"
                                                                : "Højre-klik for at se pop-up menuen");
  for (ChartWidget* chart : charts_) chart->setToolTip(hint);
  Refresh();
}

void GraphsPage::ShowGraphs() {
  stale_ = false;
  const Session& s = controller_.session();
  const int font = ChartFontSize(s.GraphFontFactor);
  for (int i = 0; i < ChartCount; ++i) {
    ChartWidget* chart = Chart(i);
    const ChartSeries series = ChartSeriesOf(s, i);
    chart->SetDecimalComma(s.DecimalSeparator() == ',');
    chart->SetAxisFontSize(font);
    chart->SetChartEnabled(s.Steps.FinalEnabled);
    chart->Draw(series, QString::fromStdString(AxisTitleOf(series.XVariable, s.language())),
                QString::fromStdString(AxisTitleOf(series.YVariable, s.language())));
  }
}

void GraphsPage::LayOut() {
  for (int i = 0; i < ChartCount; ++i) {
    const ChartRect r = GraphsPageChartRect(i, width(), height());
    Chart(i)->setGeometry(r.Left, r.Top, r.Width, r.Height);
  }
}

void GraphsPage::resizeEvent(QResizeEvent* event) {
  Page::resizeEvent(event);
  LayOut();
}

void GraphsPage::showEvent(QShowEvent* event) {
  Page::showEvent(event);
  LayOut();
  if (stale_) ShowGraphs();
}

void GraphsPage::OpenCopyMenu(int chart) {
  selected_ = chart;
  auto* main = qobject_cast<MainWindow*>(window());
  if (!main) return;
  const QPoint corner = main->frameGeometry().topLeft();
  const QPoint plot = Chart(chart)->PlotArea().topLeft();
  const ScreenPoint at =
      CopyMenuPosition({corner.x(), corner.y()}, {plot.x(), plot.y()}, Chart(chart)->width(), Chart(chart)->height());
  main->Popup("pmCopy")->popup(QPoint(at.X, at.Y));
}

void GraphsPage::PrintSelected() {
  QPrintDialog dialog(&Printer(), this);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  if (dialog.exec() == QDialog::Accepted) PrintChart(*Chart(selected_), Printer());
}

}  // namespace orven
