#pragma once

#include <array>
#include <memory>

#include "app/pages/Page.h"

class QPrinter;

namespace orven {

class ChartWidget;

// TabSheet6: six charts of the table in two rows of three, each one variable
// against another; the right-click menu pmCopy of the main window acts on the
// chart it was opened on.
class GraphsPage : public Page {
  Q_OBJECT

public:
  static constexpr int ChartCount = 6;

  GraphsPage(SessionController& controller, QWidget* parent);
  ~GraphsPage() override;

  void Refresh() override;
  void Retranslate() override;
  // Redraws the six charts from the session (ShowGraphs with SetGraphFontSizes).
  void ShowGraphs();

  ChartWidget* Chart(int chart) const { return charts_[static_cast<std::size_t>(chart)]; }
  int SelectedChart() const { return selected_; }
  QPrinter& Printer();

signals:
  // An axis of chart `chart` (0..5) was clicked: 1 the bottom axis, 2 the left one.
  void AxisClicked(int chart, int kind);
  // The large graph has taken a chart's variables and is to be shown.
  void LargeGraphRequested();

protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void LayOut();
  void OpenCopyMenu(int chart);
  void PrintSelected();

  std::array<ChartWidget*, ChartCount> charts_{};
  int selected_ = 0;  // SelectedChart, 0..5
  bool stale_ = true;
  std::unique_ptr<QPrinter> printer_;  // PrintDialog1 and PrinterSetupDialog1 share it
};

}  // namespace orven
