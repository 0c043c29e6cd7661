#include "graphs/ChartExport.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QMimeData>
#include <QPrinter>
#include <QSvgGenerator>

#include "graphs/ChartWidget.h"

namespace orven {

QByteArray ChartSvg(ChartWidget& chart) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(chart.size());
  svg.setViewBox(QRect(QPoint(0, 0), chart.size()));
  svg.setTitle(chart.YTitle() + QStringLiteral(" / ") + chart.XTitle());
  QCPPainter painter;
  painter.begin(&svg);
  painter.setMode(QCPPainter::pmVectorized);
  painter.setMode(QCPPainter::pmNoCaching);
  chart.toPainter(&painter, chart.width(), chart.height());
  painter.end();
  return bytes;
}

QImage ChartImage(ChartWidget& chart) {
  return chart.toPixmap(chart.width(), chart.height(), 2.0).toImage();
}

void CopyChartToClipboard(ChartWidget& chart) {
  auto* data = new QMimeData;
  data->setImageData(ChartImage(chart));
  data->setData(QStringLiteral("image/svg+xml"), ChartSvg(chart));
  QApplication::clipboard()->setMimeData(data);
}

bool PrintChart(ChartWidget& chart, QPrinter& printer) {
  const QPageLayout::Orientation orientation = printer.pageLayout().orientation();
  const int resolution = printer.resolution();
  printer.setPageOrientation(QPageLayout::Landscape);
  // At screen resolution the chart's fonts keep their size relative to the page.
  printer.setResolution(96);
  QCPPainter painter;
  bool printed = painter.begin(&printer);
  if (printed) {
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    chart.toPainter(&painter, page.width(), page.height());
    printed = painter.end();
  }
  printer.setResolution(resolution);
  printer.setPageOrientation(orientation);
  return printed;
}

}  // namespace orven
