#pragma once

#include <memory>

#include "app/windows/ToolWindow.h"

class QMenu;
class QPrinter;

namespace orven {

class ChartWidget;

// TGraphForm: the large graph, one chart (the seventh) in a resizable window
// beside the main window, its fonts, markers and pens growing with its size.
class GraphWindow : public ToolWindow {
  Q_OBJECT

public:
  GraphWindow(SessionController& controller, QWidget* mainWindow);
  ~GraphWindow() override;

  // Caption, pop-up menu, hint and chart title; then the chart.
  void SetLanguage() override;
  void ShowGraph();
  // Fonts, markers and pens from the chart's size and the font factor.
  void SetGraph7FontSize();

  ChartWidget* Chart() const { return chart_; }
  QMenu* Popup() const { return pmCopy_; }
  QPrinter& Printer();

signals:
  void VisibilityChanged(bool visible);
  void AxisClicked(int kind);  // 1 the bottom axis, 2 the left one
  void HelpRequested(int context);

protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void Refresh();
  void OpenMenu(const QPoint& at);
  void RefreshFontItems();

  ChartWidget* chart_ = nullptr;
  QMenu* pmCopy_ = nullptr;
  std::unique_ptr<QPrinter> printer_;  // PrintDialog2 and PrinterSetupDialog2
};

}  // namespace orven
