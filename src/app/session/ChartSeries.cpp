#include "app/session/ChartSeries.h"

#include <algorithm>
#include <cmath>

#include "app/session/Session.h"
#include "catalogue/VariableCatalogue.h"

namespace orven {
namespace {

// Below this a table value counts as missing; the model's invalid marker is far below.
constexpr double MissingBelow = -1e5;

bool Present(double value) { return value > MissingBelow; }

bool AgeLike(int x) { return x == T || x == HD1 || x == Hg1 || x == HD3 || x == Hg3; }

bool ShownWithMarkers(int y) {
  return y == HD2 || y == Hg2 || y == D2 || y == F2 || y == RTA2 || y == Q1 || y == Q3;
}

bool ThinningAmount(int y) { return y == N2 || y == G2 || y == V2; }

bool RemainingStand(int y) { return y >= HD3 && y <= RTA3; }

}  // namespace

ChartStyle StyleOf(int xVariable, int yVariable) {
  if (!AgeLike(xVariable)) return {.Line = false, .Markers = true, .Stairs = false};
  return {.Line = true, .Markers = ShownWithMarkers(yVariable), .Stairs = ThinningAmount(yVariable)};
}

ChartSeries SeriesOf(const ProjectionTables& tables, int x, int y, bool verticalShift, bool enabled,
                     bool ascendingX) {
  ChartSeries series;
  series.XVariable = x;
  series.YVariable = y;
  series.Style = StyleOf(x, y);
  if (x == T) {
    series.FixedXRange = true;
    series.XMin = tables.TableStartAge - 1;
    series.XMax = tables.TableEndAge + 1;
  }
  const bool validAxes = x >= 0 && x < VariableCount && y >= 0 && y < VariableCount;
  if (!enabled || !validAxes) return series;

  const bool drops = verticalShift && x == T && RemainingStand(y);
  const bool halfYearEarly = ThinningAmount(y);
  std::vector<ChartPoint>& points = series.Points;
  points.reserve(2 * static_cast<std::size_t>(tables.LastYearIndex() + 1));
  for (int year = 0; year <= tables.LastYearIndex(); ++year) {
    const double vx = tables.Value(x, year);
    const double vy = tables.Value(y, year);
    if (!Present(vx) || !Present(vy)) continue;
    if (drops && tables.IsThinningAge(tables.TableStartAge + year)) {
      // The stand before the thinning, then after it: the line drops at the thinning.
      const double before = tables.Value(y - (HD3 - HD1), year);
      if (Present(before)) points.push_back({vx, before});
      points.push_back({vx, vy});
    } else if (halfYearEarly) {
      points.push_back({vx - 0.5, vy});
    } else {
      points.push_back({vx, vy});
    }
  }
  if (ascendingX)
    std::stable_sort(points.begin(), points.end(), [](const ChartPoint& a, const ChartPoint& b) { return a.x < b.x; });
  return series;
}

ChartSeries ChartSeriesOf(const Session& session, int chart) {
  const auto i = static_cast<std::size_t>(std::clamp(chart, 0, GraphCount - 1));
  return SeriesOf(session.Tables, session.GraphXVariable[i], session.GraphYVariable[i], session.VerticalShift,
                  session.Steps.FinalEnabled, chart == LargeChart);
}

std::string AxisTitleOf(int variable, Language language) { return NameOf(variable, language); }

int ChartFontSize(double graphFontFactor) { return static_cast<int>(std::lround(8 * graphFontFactor)); }

LargeGraphSizes LargeGraphSizesOf(int width, int height, double graphFontFactor) {
  const double d = std::sqrt(double(height) * height + double(width) * width);
  struct Step {
    double diagonal;
    int height, font;
  };
  constexpr Step steps[] = {{1000, 500, 12}, {850, 450, 11}, {700, 400, 10}, {550, 350, 9}, {400, 300, 8}};
  LargeGraphSizes sizes;
  for (const Step& step : steps) {
    if (d > step.diagonal && height > step.height) {
      sizes.BaseFont = step.font;
      break;
    }
  }
  sizes.Font = static_cast<int>(std::lround(graphFontFactor * sizes.BaseFont));
  sizes.Marker = static_cast<int>(std::lround(d / 300)) + 1;
  sizes.Pen = static_cast<int>(std::lround(d / 1000)) + 1;
  return sizes;
}

std::string SpeciesTitleName(int species, Language language) {
  struct Names {
    const char* danish;
    const char* english;
  };
  constexpr Names names[] = {
      {"Bøg (Fagus sylvatica)", "Beech (Fagus sylvatica)"},
      {"Eg (Quercus robur/petraea)", "Oak (Quercus robur/petraea)"},
      {"Ask (Fraxinus excelsior)", "Ash (Fraxinus excelsior)"},
      {"Rødgran (Picea abies)", "Norway spruce (Picea abies)"},
      {"Sitkagran (Picea sitchensis)", "Sitka spruce (Picea sitchensis)"},
      {"Douglasgran (Pseudotsuga menziesii)", "Douglas fir (Pseudotsuga menziesii)"},
      {"Ædelgran (Abies alba)", "Silver fir (Abies alba)"},
  };
  const bool english = language == Language::English;
  if (species < 0 || species >= static_cast<int>(std::size(names))) return english ? "Unknown" : "Ukendt";
  return english ? names[species].english : names[species].danish;
}

std::string TitlePathPart(const std::string& fileName) {
  if (fileName.size() < 3 || fileName.compare(1, 2, ":\\") != 0) return fileName;
  const std::size_t last = fileName.rfind('\\');
  // A file in the drive's root folder has nothing to leave out.
  if (last == 2) return fileName;
  return fileName.substr(0, 3) + "..." + fileName.substr(last);
}

std::string LargeGraphTitle(const std::string& currentFileName, int species, Language language) {
  std::string title;
  if (!currentFileName.empty()) title = TitlePathPart(currentFileName) + " :    ";
  return title + SpeciesTitleName(species, language);
}

ChartRect GraphsPageChartRect(int chart, int w, int h) {
  const int column = chart % 3, row = chart / 3 % 2;
  ChartRect r;
  r.Left = column == 0 ? 8 : column * ((w - 8) / 3) + 8;
  r.Top = row == 0 ? 8 : (h - 8) / 2 + 8;
  r.Width = (w - 26) / 3;
  r.Height = (h - 21) / 2;
  return r;
}

ScreenPoint CopyMenuPosition(ScreenPoint window, ScreenPoint plotArea, int chartWidth, int chartHeight) {
  return {window.X + plotArea.X + static_cast<int>(std::lround(0.2 * chartWidth)),
          window.Y + plotArea.Y + chartHeight / 2};
}

void ChooseAxisVariable(Session& session, int chart, int axisKind, std::optional<int> item) {
  if (!item || *item < 0 || *item >= VariableCount || chart < 0 || chart >= GraphCount) return;
  auto& axes = axisKind == 1 ? session.GraphXVariable : session.GraphYVariable;
  axes[static_cast<std::size_t>(chart)] = *item;
}

void OpenInLargeGraph(Session& session, int chart) {
  if (chart < 0 || chart >= LargeChart) return;
  const auto i = static_cast<std::size_t>(chart);
  session.GraphXVariable[LargeChart] = session.GraphXVariable[i];
  session.GraphYVariable[LargeChart] = session.GraphYVariable[i];
}

}  // namespace orven
