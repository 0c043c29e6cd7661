#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/Language.h"
#include "projection/ProjectionTables.h"

namespace orven {

class Session;

inline constexpr int LargeChart = 6;  // index of the large graph's chart among the seven

struct ChartPoint {
  double x = 0;
  double y = 0;
  bool operator==(const ChartPoint&) const = default;
};

// How a chart draws its series.
struct ChartStyle {
  bool Line = false;     // the points are joined in their order
  bool Markers = false;  // a marker on every point
  bool Stairs = false;   // joined as stairs: across, then up or down
  bool operator==(const ChartStyle&) const = default;
};

// One chart's series, as the chart is to draw it: nothing is left to the view
// but the drawing.
struct ChartSeries {
  int XVariable = 0;
  int YVariable = 0;
  ChartStyle Style;
  std::vector<ChartPoint> Points;
  // With age on the x axis the axis is fixed one year beyond the table's ends;
  // otherwise both axes take the range of the points.
  bool FixedXRange = false;
  double XMin = 0, XMax = 0;
};

// The drawing style of a y variable against an x variable.
ChartStyle StyleOf(int xVariable, int yVariable);

// The series of one chart. A disabled chart has no points. With
// `ascendingX` the points are ordered by x, ties in the order of the years
// (the large graph); otherwise they stay in the order of the years.
ChartSeries SeriesOf(const ProjectionTables& tables, int xVariable, int yVariable, bool verticalShift,
                     bool enabled, bool ascendingX = false);

// Chart `chart` (0..5 the graphs page, 6 the large graph) of the session.
ChartSeries ChartSeriesOf(const Session& session, int chart);

// Axis title of a variable: its long name, which carries the unit.
std::string AxisTitleOf(int variable, Language language);

// The font of the six small charts' axes, in points.
int ChartFontSize(double graphFontFactor);

// Fonts, markers and pens of the large graph from its chart's size in pixels.
struct LargeGraphSizes {
  int BaseFont = 7;   // points at font factor 1
  int Font = 7;       // points: axis labels and titles, chart title
  int Marker = 1;     // marker width and height, pixels
  int Pen = 1;        // series line and axis pens, pixels
  bool operator==(const LargeGraphSizes&) const = default;
};
LargeGraphSizes LargeGraphSizesOf(int width, int height, double graphFontFactor);

// The species name the large graph's title ends with.
std::string SpeciesTitleName(int species, Language language);
// The file part of the large graph's title: the whole path, or for a Windows
// path with a drive, the drive, "..." and the file's own name.
std::string TitlePathPart(const std::string& fileName);
// The large graph's chart title.
std::string LargeGraphTitle(const std::string& currentFileName, int species, Language language);

// Where chart `chart` (0..5) of the graphs page lies on a page of
// `pageWidth` x `pageHeight` pixels: three charts in each of two rows.
struct ChartRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const ChartRect&) const = default;
};
ChartRect GraphsPageChartRect(int chart, int pageWidth, int pageHeight);

// Where the graphs page opens pmCopy: from the main window's corner, by the
// chart's plot area, a fifth into the chart's width and half down its height.
struct ScreenPoint {
  int X = 0, Y = 0;
  bool operator==(const ScreenPoint&) const = default;
};
ScreenPoint CopyMenuPosition(ScreenPoint window, ScreenPoint plotArea, int chartWidth, int chartHeight);

// OK in the axis dialog: the chosen variable goes to the horizontal (kind 1)
// or vertical (kind 2) axis of chart `chart` (0..6); no item, no change.
void ChooseAxisVariable(Session& session, int chart, int axisKind, std::optional<int> item);
// The large graph takes the variables of chart `chart` (0..5).
void OpenInLargeGraph(Session& session, int chart);

}  // namespace orven
