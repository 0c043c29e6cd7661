#pragma once

#include <optional>
#include <string>

#include "app/session/ChartSeries.h"

namespace orven::cli {

// A variable named on the command line: its catalogue index (0..45) or its
// symbol in either language (T, N3, dVtot ...).
std::optional<int> ParseVariableName(const std::string& word);

// A chart's series as text: the x axis ("x-axis", symbol, and the fixed
// range or "auto"), the style ("style" and line, markers, stairs or none,
// joined by '+'), then one line per point, x and y separated by a tab, in
// the order the chart draws them; numbers in their shortest exact form.
std::string SeriesText(const ChartSeries& series);

}  // namespace orven::cli
