#include "cli/SeriesCommand.h"

#include <charconv>

#include "catalogue/VariableCatalogue.h"

namespace orven::cli {
namespace {

std::string Number(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::optional<int> ParseVariableName(const std::string& word) {
  int index = -1;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), index);
  if (error == std::errc() && end == word.data() + word.size())
    return index >= 0 && index < VariableCount ? std::optional<int>(index) : std::nullopt;
  for (int v = 0; v < VariableCount; ++v)
    if (word == SymbolOf(v, Language::English) || word == SymbolOf(v, Language::Danish)) return v;
  return std::nullopt;
}

std::string SeriesText(const ChartSeries& series) {
  std::string text = "x-axis\t" + SymbolOf(series.XVariable, Language::English) + '\t';
  text += series.FixedXRange ? Number(series.XMin) + '\t' + Number(series.XMax) : std::string("auto");
  text += "\nstyle\t";
  std::string style;
  for (const auto& [on, word] : {std::pair{series.Style.Line, "line"}, std::pair{series.Style.Markers, "markers"},
                                 std::pair{series.Style.Stairs, "stairs"}})
    if (on) style += (style.empty() ? "" : "+") + std::string(word);
  text += (style.empty() ? "none" : style) + '\n';
  for (const ChartPoint& p : series.Points) text += Number(p.x) + '\t' + Number(p.y) + '\n';
  return text;
}

}  // namespace orven::cli
