#include "tables/ExportText.h"

#include <algorithm>

namespace orven {
namespace {

constexpr const char* LineEnd = "\r\n";

std::string WithoutLeadingBlanks(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

// One line of the three grids: each cell followed by the delimiter, except
// the very last cell of the line.
template <class CellOf>
std::string JoinedLine(const std::array<GridTexts, 3>& grids, char delimiter, CellOf cellOf) {
  std::vector<std::string> cells;
  for (const GridTexts& grid : grids) {
    std::size_t columns = grid.Headers.size();
    for (std::size_t c = 0; c < columns; ++c) cells.push_back(WithoutLeadingBlanks(cellOf(grid, c)));
  }
  std::string line;
  for (std::size_t k = 0; k < cells.size(); ++k) {
    if (k > 0) line += delimiter;
    line += cells[k];
  }
  return line;
}

const std::string& CellAt(const std::vector<std::string>& row, std::size_t column) {
  static const std::string empty;
  return column < row.size() ? row[column] : empty;
}

}  // namespace

std::string TableText(const std::array<GridTexts, 3>& grids, char delimiter) {
  std::size_t rows = 0;
  for (const GridTexts& grid : grids) rows = std::max(rows, grid.Rows.size());

  std::string text = JoinedLine(grids, delimiter,
                                [](const GridTexts& g, std::size_t c) { return CellAt(g.Headers, c); });
  // The header line ends only when data rows follow; the unit line always ends.
  if (rows > 0) text += LineEnd;
  text += JoinedLine(grids, delimiter, [](const GridTexts& g, std::size_t c) { return CellAt(g.Units, c); });
  text += LineEnd;
  for (std::size_t r = 0; r < rows; ++r) {
    text += JoinedLine(grids, delimiter, [r](const GridTexts& g, std::size_t c) {
      return r < g.Rows.size() ? CellAt(g.Rows[r], c) : std::string();
    });
    if (r + 1 < rows) text += LineEnd;
  }
  return text;
}

std::string SelectionText(const GridTexts& grid, int left, int right, int top, int bottom) {
  // Only the part of the selection inside the grid is copied: bounds from
  // outside (up to INT_MAX) must neither overflow nor build a huge text.
  const long long columns = static_cast<long long>(grid.Headers.size());
  const long long rows = static_cast<long long>(grid.Rows.size());
  const long long first = std::max<long long>(left, 0), last = std::min<long long>(right, columns - 1);
  const long long top1 = std::max<long long>(top, 1), bottom1 = std::min<long long>(bottom, rows);
  auto line = [first, last](const std::vector<std::string>& cells) {
    std::string text;
    for (long long c = first; c <= last; ++c) {
      if (c > first) text += TabDelimiter;
      text += WithoutLeadingBlanks(CellAt(cells, static_cast<std::size_t>(c)));
    }
    return text;
  };
  std::string text = line(grid.Headers) + LineEnd + line(grid.Units) + LineEnd;
  for (long long r = top1; r <= bottom1; ++r) {
    text += line(grid.Rows[static_cast<std::size_t>(r - 1)]);
    if (r < bottom1) text += LineEnd;
  }
  return text;
}

}  // namespace orven
