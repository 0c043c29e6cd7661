#pragma once

#include <qcustomplot.h>

#include <vector>

#include "app/session/ChartSeries.h"

namespace orven {

// One chart: a QCustomPlot with a left and a bottom axis and one series,
// drawn from the core's ChartSeries. Lines and markers go through a curve,
// which keeps the points in their order; stairs through a graph, which draws
// steps. The chart adds nothing to the points it is given.
class ChartWidget : public QCustomPlot {
  Q_OBJECT

public:
  explicit ChartWidget(QWidget* parent = nullptr);

  // Replaces the series and the axis titles and redraws.
  void Draw(const ChartSeries& series, const QString& xTitle, const QString& yTitle);
  // A disabled chart sits on the button-face colour and takes no clicks.
  void SetChartEnabled(bool enabled);
  // The title above the plot; an empty text removes it.
  void SetTitle(const QString& title);
  void SetAxisFontSize(int points);   // tick labels and axis titles
  void SetTitleFontSize(int points);  // the chart title
  void SetMarkerSize(int pixels);
  void SetPenWidth(int pixels);       // the series line and the axes
  // Tick labels with the decimal comma (Danish) or the decimal point.
  void SetDecimalComma(bool comma);
  // A fixed number of minor ticks between two labelled ones; 0 leaves the
  // choice to the ticker.
  void SetMinorTickCount(int count);

  // What the chart draws now, for the tests and the exports.
  std::vector<ChartPoint> DrawnPoints() const;
  ChartStyle DrawnStyle() const;
  QString XTitle() const { return xTitle_; }
  QString YTitle() const { return yTitle_; }
  QRect PlotArea() const { return axisRect()->rect(); }
  int AxisFontSize() const { return xAxis->tickLabelFont().pointSize(); }
  int TitleFontSize() const;
  int MarkerSize() const { return static_cast<int>(markerSize_); }
  int PenWidth() const { return penWidth_; }

signals:
  void AxisClicked(int kind);  // 1 the bottom (horizontal) axis, 2 the left one
  void BackgroundRightClicked(const QPoint& position);  // in the chart's coordinates
  void DoubleClicked();

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  void ApplyStyle();
  void FitToSize();  // tick counts and title lines for the axes' lengths
  void WrapTitles();
  void Replot();

  QCPCurve* curve_ = nullptr;  // lines and markers, in the points' order
  QCPGraph* stairs_ = nullptr;
  QCPTextElement* title_ = nullptr;
  ChartStyle style_;
  QString xTitle_, yTitle_;
  double markerSize_ = 2;
  int penWidth_ = 1;
};

}  // namespace orven
