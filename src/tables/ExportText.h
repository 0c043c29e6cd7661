#pragma once

#include <array>
#include <string>
#include <vector>

namespace orven {

// The texts of one result grid as shown: the header (variable symbols), the
// unit of each column's variable, and the data rows.
struct GridTexts {
  std::vector<std::string> Headers;
  std::vector<std::string> Units;
  std::vector<std::vector<std::string>> Rows;  // Rows[r - 1][column] for data row r
};

inline constexpr char TabDelimiter = '\t';
inline constexpr char SemicolonDelimiter = ';';

// The whole table for the export file and the clipboard: the three grids side
// by side, a header line, a unit line and one line per data row; lines end
// with CRLF, the last data line without.
std::string TableText(const std::array<GridTexts, 3>& grids, char delimiter);

// A rectangle of one grid (columns left..right, data rows top..bottom from 1)
// for the clipboard: its headers, units and cells, separated by tabs. Only
// the part of the rectangle inside the grid is copied.
std::string SelectionText(const GridTexts& grid, int left, int right, int top, int bottom);

}  // namespace orven
