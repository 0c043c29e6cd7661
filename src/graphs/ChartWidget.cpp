#include "graphs/ChartWidget.h"

#include <algorithm>
#include <cmath>

namespace orven {
namespace {

// Automatic axes leave a little room so that no marker sits on the frame.
constexpr double AutoPadding = 0.04;

QCPRange AutoRange(double low, double high) {
  if (low > high) return {0, 1};
  if (high - low < 1e-9 * std::max(1.0, std::abs(high))) {
    const double half = std::max(std::abs(high) * 0.05, 0.5);
    return {low - half, high + half};
  }
  const double pad = (high - low) * AutoPadding;
  return {low - pad, high + pad};
}

// A title broken at blanks into lines no longer than `room` pixels, so
// that a long variable name stays whole beside a short axis.
QString Wrapped(const QString& title, const QFontMetrics& metrics, int room) {
  if (metrics.horizontalAdvance(title) <= room) return title;
  QString text, line;
  for (const QString& word : title.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
    if (!line.isEmpty() && metrics.horizontalAdvance(longer) > room) {
      text += line + QLatin1Char('\n');
      line = word;
    } else {
      line = longer;
    }
  }
  return text + line;
}

// Readable major steps with a fixed number of minor ticks between them.
class FixedSubTicker : public QCPAxisTicker {
public:
  explicit FixedSubTicker(int count) : count_(count) {}

protected:
  int getSubTickCount(double) override { return count_; }

private:
  int count_;
};

void SetAxisPens(QCPAxis* axis, int width) {
  QPen pen(Qt::black, width);
  axis->setBasePen(pen);
  axis->setTickPen(pen);
  axis->setSubTickPen(QPen(Qt::black, 1));
}

}  // namespace

ChartWidget::ChartWidget(QWidget* parent) : QCustomPlot(parent) {
  setBackground(Qt::white);
  axisRect()->setBackground(Qt::NoBrush);
  plotLayout()->setMargins(QMargins(2, 2, 2, 2));
  axisRect()->setMinimumMargins(QMargins(2, 2, 8, 2));
  setInteractions(QCP::Interactions());
  setAntialiasedElements(QCP::aePlottables | QCP::aeScatters);
  setNotAntialiasedElements(QCP::aeAxes | QCP::aeGrid);
  for (QCPAxis* axis : {xAxis, yAxis}) {
    axis->grid()->setPen(QPen(QColor(225, 225, 225), 1, Qt::SolidLine));
    axis->grid()->setSubGridVisible(false);
    axis->setLabelColor(Qt::black);
    axis->setTickLabelColor(Qt::black);
    axis->setTickLabelPadding(3);
    axis->setLabelPadding(3);
    axis->ticker()->setTickStepStrategy(QCPAxisTicker::tssReadability);
  }
  curve_ = new QCPCurve(xAxis, yAxis);
  stairs_ = addGraph(xAxis, yAxis);
  stairs_->setLineStyle(QCPGraph::lsStepLeft);
  stairs_->setVisible(false);
  SetAxisFontSize(8);
  ApplyStyle();

  connect(this, &QCustomPlot::axisClick, this, [this](QCPAxis* axis, QCPAxis::SelectablePart, QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit AxisClicked(axis == xAxis ? 1 : 2);
  });
  connect(this, &QCustomPlot::mousePress, this, [this](QMouseEvent* event) {
    if (event->button() != Qt::RightButton) return;
    const QPoint at = event->position().toPoint();
    if (qobject_cast<QCPAxis*>(layerableAt(at, false))) return;
    emit BackgroundRightClicked(at);
  });
  connect(this, &QCustomPlot::mouseDoubleClick, this, [this](QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit DoubleClicked();
  });
}

void ChartWidget::ApplyStyle() {
  const QPen pen(Qt::black, penWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  const QCPScatterStyle markers(QCPScatterStyle::ssDisc, Qt::black, Qt::black, markerSize_);
  const QCPScatterStyle none(QCPScatterStyle::ssNone);
  curve_->setPen(pen);
  curve_->setLineStyle(style_.Line ? QCPCurve::lsLine : QCPCurve::lsNone);
  curve_->setScatterStyle(style_.Markers ? markers : none);
  stairs_->setPen(pen);
  stairs_->setScatterStyle(style_.Markers ? markers : none);
  for (QCPAxis* axis : {xAxis, yAxis, xAxis2, yAxis2}) SetAxisPens(axis, penWidth_);
}

void ChartWidget::Draw(const ChartSeries& series, const QString& xTitle, const QString& yTitle) {
  xTitle_ = xTitle;
  yTitle_ = yTitle;
  style_ = series.Style;
  QVector<double> order, keys, values;
  const auto n = static_cast<qsizetype>(series.Points.size());
  order.reserve(n);
  keys.reserve(n);
  values.reserve(n);
  double xLow = HUGE_VAL, xHigh = -HUGE_VAL, yLow = HUGE_VAL, yHigh = -HUGE_VAL;
  for (const ChartPoint& p : series.Points) {
    order.push_back(static_cast<double>(order.size()));
    keys.push_back(p.x);
    values.push_back(p.y);
    xLow = std::min(xLow, p.x);
    xHigh = std::max(xHigh, p.x);
    yLow = std::min(yLow, p.y);
    yHigh = std::max(yHigh, p.y);
  }
  if (style_.Stairs) {
    stairs_->setData(keys, values);
    curve_->data()->clear();
  } else {
    curve_->setData(order, keys, values, true);
    stairs_->data()->clear();
  }
  stairs_->setVisible(style_.Stairs);
  curve_->setVisible(!style_.Stairs);
  ApplyStyle();
  xAxis->setRange(series.FixedXRange ? QCPRange(series.XMin, series.XMax) : AutoRange(xLow, xHigh));
  yAxis->setRange(AutoRange(yLow, yHigh));
  Replot();
}

void ChartWidget::SetChartEnabled(bool enabled) {
  setEnabled(enabled);
  setBackground(enabled ? QBrush(Qt::white) : palette().brush(QPalette::Active, QPalette::Button));
  Replot();
}

void ChartWidget::SetTitle(const QString& title) {
  if (title.isEmpty()) {
    if (title_) {
      plotLayout()->remove(title_);
      plotLayout()->simplify();
      title_ = nullptr;
    }
  } else {
    if (!title_) {
      plotLayout()->insertRow(0);
      title_ = new QCPTextElement(this, title, xAxis->labelFont());
      title_->setTextColor(Qt::black);
      plotLayout()->addElement(0, 0, title_);
    }
    title_->setText(title);
  }
  Replot();
}

void ChartWidget::SetAxisFontSize(int points) {
  QFont font = this->font();
  font.setPointSize(std::max(1, points));
  for (QCPAxis* axis : {xAxis, yAxis}) {
    axis->setTickLabelFont(font);
    axis->setLabelFont(font);
  }
  Replot();
}

void ChartWidget::SetTitleFontSize(int points) {
  if (!title_) return;
  QFont font = this->font();
  font.setPointSize(std::max(1, points));
  title_->setFont(font);
  Replot();
}

int ChartWidget::TitleFontSize() const { return title_ ? title_->font().pointSize() : 0; }

void ChartWidget::SetMarkerSize(int pixels) {
  markerSize_ = pixels;
  ApplyStyle();
  Replot();
}

void ChartWidget::SetPenWidth(int pixels) {
  penWidth_ = pixels;
  ApplyStyle();
  Replot();
}

void ChartWidget::SetMinorTickCount(int count) {
  for (QCPAxis* axis : {xAxis, yAxis}) {
    QSharedPointer<QCPAxisTicker> ticker =
        count > 0 ? QSharedPointer<QCPAxisTicker>(new FixedSubTicker(count)) : QSharedPointer<QCPAxisTicker>::create();
    ticker->setTickStepStrategy(QCPAxisTicker::tssReadability);
    axis->setTicker(ticker);
  }
  Replot();
}

void ChartWidget::SetDecimalComma(bool comma) {
  QLocale locale = comma ? QLocale(QLocale::Danish, QLocale::Denmark) : QLocale::c();
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  setLocale(locale);
  Replot();
}

std::vector<ChartPoint> ChartWidget::DrawnPoints() const {
  std::vector<ChartPoint> points;
  if (stairs_->visible()) {
    for (const QCPGraphData& d : *stairs_->data()) points.push_back({d.key, d.value});
  } else {
    for (const QCPCurveData& d : *curve_->data()) points.push_back({d.key, d.value});
  }
  return points;
}

ChartStyle ChartWidget::DrawnStyle() const {
  ChartStyle style;
  if (stairs_->visible()) {
    style.Stairs = style.Line = stairs_->lineStyle() == QCPGraph::lsStepLeft;
    style.Markers = !stairs_->scatterStyle().isNone();
  } else {
    style.Line = curve_->lineStyle() == QCPCurve::lsLine;
    style.Markers = !curve_->scatterStyle().isNone();
  }
  return style;
}

void ChartWidget::FitToSize() {
  // As many ticks as fit with room between the labels: never overlapping texts.
  const QFontMetrics metrics(xAxis->tickLabelFont());
  auto widest = [&](const QCPRange& range) {
    const double magnitude = std::max(std::abs(range.lower), std::abs(range.upper));
    // Labels carry at most the digits of the larger end and a decimal or two.
    const QString digits = magnitude >= 1 ? QString::number(std::llround(magnitude)) : QStringLiteral("0");
    const QString sample = QStringLiteral("-") + digits + locale().decimalPoint() + QStringLiteral("88");
    return metrics.horizontalAdvance(sample);
  };
  // The axes' lengths from the widget's size: the laid-out ones may be stale.
  const int width = std::max(40, this->width() - 4 * metrics.height() - widest(yAxis->range()));
  const int height = std::max(40, this->height() - 5 * metrics.height() - (title_ ? metrics.height() : 0));
  const int xRoom = widest(xAxis->range()) + 2 * metrics.height();
  const int yRoom = 3 * metrics.height();
  // The ticker may place up to about half as many again as asked for.
  xAxis->ticker()->setTickCount(std::clamp(width * 2 / (3 * xRoom), 1, 10));
  yAxis->ticker()->setTickCount(std::clamp(height * 2 / (3 * yRoom), 1, 10));
  WrapTitles();
}

void ChartWidget::WrapTitles() {
  // The axes' lengths from the chart's size before it is laid out: the
  // margins hold the tick labels, the titles' lines and the chart title.
  const QFontMetrics titles(xAxis->labelFont());
  const int line = titles.height();
  const int ticks = QFontMetrics(xAxis->tickLabelFont()).height();
  const int top = title_ ? QFontMetrics(title_->font()).height() + 8 : 6;
  const int yRoomGuess = height() - top - (ticks + 2 * line + 24);
  const QString y = Wrapped(yTitle_, titles, std::max(40, yRoomGuess));
  const int yLines = static_cast<int>(y.count(QLatin1Char('\n'))) + 1;
  const int left = QFontMetrics(yAxis->tickLabelFont()).horizontalAdvance(QStringLiteral("88888")) + yLines * line + 24;
  const QString x = Wrapped(xTitle_, titles, std::max(40, width() - left - 12));
  const int xLines = static_cast<int>(x.count(QLatin1Char('\n'))) + 1;
  const int yRoom = height() - top - (ticks + xLines * line + 24);
  xAxis->setLabel(x);
  yAxis->setLabel(Wrapped(yTitle_, titles, std::max(40, yRoom)));
}

void ChartWidget::Replot() {
  FitToSize();
  replot(rpQueuedReplot);
}

void ChartWidget::resizeEvent(QResizeEvent* event) {
  FitToSize();  // before the base class replots at the new size
  QCustomPlot::resizeEvent(event);
}

}  // namespace orven
