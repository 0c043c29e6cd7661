#include "app/windows/GraphWindow.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

#include "app/SessionController.h"
#include "app/session/ChartSeries.h"
#include "graphs/ChartExport.h"
#include "graphs/ChartWidget.h"

namespace orven {
namespace {

constexpr int GraphHelpContext = 23;

struct PopupItem {
  const char* name;
  const char* danish;
  const char* english;
};

constexpr PopupItem PopupItems[] = {
    {"miCopyGraph", "&Kopier graf til udklipsholderen", "&Copy graph to clipboard"},
    {"miPrintGraph", "&Print graf", "&Print graph"},
    {"miPrinterSetup", "Printer-&opsætning", "Printer &setup"},
    {"miIncFontLG", "&Forøg font-størrelse i tabeller/grafer", "&Increase font size in tables/graphs"},
    {"miDecFontLG", "&Reducer font-størrelse i tabeller/grafer", "&Decrease font size in tables/graphs"},
    {"miGraphHelp", "&Hjælp", "&Help"},
};

}  // namespace

GraphWindow::GraphWindow(SessionController& controller, QWidget* mainWindow)
    : ToolWindow(controller, "GraphForm", " Klik på akserne for at vælge variabler",
                 " Click graph axes to select variables", QSize(390, 331), mainWindow) {
  setMinimumSize(240, 240);
  chart_ = new ChartWidget(this);
  chart_->setObjectName(QStringLiteral("Chart7"));
  chart_->SetMinorTickCount(5);
  chart_->installEventFilter(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(chart_);

  pmCopy_ = new QMenu(this);
  pmCopy_->setObjectName(QStringLiteral("pmCopy"));
  for (const PopupItem& item : PopupItems) {
    if (QStringLiteral("miIncFontLG") == QLatin1String(item.name) ||
        QStringLiteral("miGraphHelp") == QLatin1String(item.name))
      pmCopy_->addSeparator();
    pmCopy_->addAction(QString())->setObjectName(QString::fromUtf8(item.name));
  }
  auto on = [this](const char* name, auto&& slot) {
    connect(pmCopy_->findChild<QAction*>(QString::fromUtf8(name)), &QAction::triggered, this, slot);
  };
  on("miCopyGraph", [this] { CopyChartToClipboard(*chart_); });
  on("miPrintGraph", [this] {
    QPrintDialog dialog(&Printer(), this);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() == QDialog::Accepted) PrintChart(*chart_, Printer());
  });
  on("miPrinterSetup", [this] {
    QPageSetupDialog dialog(&Printer(), this);
    dialog.exec();
  });
  on("miIncFontLG", [this] { controller_.Run([](Session& s) { s.IncreaseFontSize(); }); });
  on("miDecFontLG", [this] { controller_.Run([](Session& s) { s.DecreaseFontSize(); }); });
  on("miGraphHelp", [this] { emit HelpRequested(GraphHelpContext); });

  connect(chart_, &ChartWidget::AxisClicked, this, &GraphWindow::AxisClicked);
  connect(chart_, &ChartWidget::BackgroundRightClicked, this, &GraphWindow::OpenMenu);
  connect(&controller_, &SessionController::Changed, this, &GraphWindow::Refresh);
  hide();
}

GraphWindow::~GraphWindow() = default;

QPrinter& GraphWindow::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

void GraphWindow::SetLanguage() {
  ToolWindow::SetLanguage();
  if (!chart_) return;  // the base class's constructor
  const Session& s = controller_.session();
  const bool english = controller_.English();
  for (const PopupItem& item : PopupItems)
    pmCopy_->findChild<QAction*>(QString::fromUtf8(item.name))->setText(QString::fromUtf8(english ? item.english
                                                                                                  : item.danish));
  chart_->setToolTip(QString::fromUtf8(english ? "Right-click to see the pop-up menu"
                                               : "Højre-klik for at se pop-up menuen"));
  chart_->SetTitle(QString::fromStdString(
      LargeGraphTitle(s.CurrentFileName, s.Species.CurrentSpecies, s.language())));
  ShowGraph();
}

void GraphWindow::ShowGraph() {
  const Session& s = controller_.session();
  const ChartSeries series = ChartSeriesOf(s, LargeChart);
  chart_->SetDecimalComma(s.DecimalSeparator() == ',');
  chart_->SetChartEnabled(s.Steps.FinalEnabled);
  SetGraph7FontSize();
  chart_->Draw(series, QString::fromStdString(AxisTitleOf(series.XVariable, s.language())),
               QString::fromStdString(AxisTitleOf(series.YVariable, s.language())));
  RefreshFontItems();
}

void GraphWindow::SetGraph7FontSize() {
  const LargeGraphSizes sizes =
      LargeGraphSizesOf(chart_->width(), chart_->height(), controller_.session().GraphFontFactor);
  chart_->SetAxisFontSize(sizes.Font);
  chart_->SetTitleFontSize(sizes.Font);
  chart_->SetMarkerSize(sizes.Marker);
  chart_->SetPenWidth(sizes.Pen);
}

void GraphWindow::RefreshFontItems() {
  const MenuState menus = controller_.session().Menus(ViewState{});
  pmCopy_->findChild<QAction*>(QStringLiteral("miIncFontLG"))->setEnabled(menus.FontIncrease);
  pmCopy_->findChild<QAction*>(QStringLiteral("miDecFontLG"))->setEnabled(menus.FontDecrease);
}

void GraphWindow::Refresh() {
  const Session& s = controller_.session();
  // A reset closes the window; while hidden it is not drawn.
  if (isVisible() && !s.Steps.FinalEnabled) hide();
  if (!isVisible()) return;
  // The title follows the file and the species.
  chart_->SetTitle(QString::fromStdString(
      LargeGraphTitle(s.CurrentFileName, s.Species.CurrentSpecies, s.language())));
  ShowGraph();
}

void GraphWindow::OpenMenu(const QPoint& at) {
  const QPoint corner = frameGeometry().topLeft();
  pmCopy_->popup(corner + chart_->PlotArea().topLeft() + at);
}

void GraphWindow::showEvent(QShowEvent* event) {
  ToolWindow::showEvent(event);
  emit VisibilityChanged(true);
}

void GraphWindow::hideEvent(QHideEvent* event) {
  ToolWindow::hideEvent(event);
  emit VisibilityChanged(false);
}

bool GraphWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == chart_ && event->type() == QEvent::Resize) SetGraph7FontSize();
  return ToolWindow::eventFilter(watched, event);
}

}  // namespace orven
