#pragma once

#include <QByteArray>
#include <QImage>

class QPrinter;

namespace orven {

class ChartWidget;

// The chart as SVG, at its size on the screen.
QByteArray ChartSvg(ChartWidget& chart);
// The chart as a picture, at twice its size for a sharp paste.
QImage ChartImage(ChartWidget& chart);
// Puts the chart on the clipboard as a picture and as SVG: office programs
// take the SVG and paste it sharp at any size.
void CopyChartToClipboard(ChartWidget& chart);
// Prints the chart over one landscape page; the printer's own orientation
// and resolution are restored afterwards. False when printing failed.
bool PrintChart(ChartWidget& chart, QPrinter& printer);

}  // namespace orven
