#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "catalogue/VariableCatalogue.h"
#include "model/GrowthModel.h"
#include "model/Language.h"
#include "projection/ProjectionTables.h"
#include "projection/ThinningRegime.h"
#include "projection/TypedValues.h"

namespace orven {

// What the three result grids show: the text and colours of every cell, the
// red marks of implausible values and the error line below the grids.

// rgShowYears: one row per year, or the first year, the thinnings and the last year.
enum class RowModel { AllYears, ThinningsOnly };

// The text of the data cell of a variable in a year. A disabled grid, a
// column without a variable and a year outside the table show nothing.
std::string DataCellText(const ProjectionTables& tables, ResultGrid grid, int variable,
                         int yearIndex, bool gridEnabled, Language language, char decimalSeparator);

// The error scan: rebuilds ValueError for the variables shown in any grid,
// in the years whose rows are shown, and tells whether any flag was set.
bool ErrorString(ProjectionTables& tables, const ColumnSelection& columns, RowModel rowModel);

// The line below the grids after a scan, and before any table exists.
std::string ErrorLineText(bool anyValueError, Language language);
std::string NoTableText(Language language);

// A colour of the cell drawing: RGB, or one of the system colours.
struct CellColour {
  enum class Kind { Rgb, Window, ButtonFace };
  Kind kind = Kind::Rgb;
  std::uint8_t red = 0, green = 0, blue = 0;

  static constexpr CellColour Of(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return {Kind::Rgb, r, g, b};
  }
  bool operator==(const CellColour&) const = default;
};

struct CellColours {
  CellColour background;
  CellColour text;
};

// One cell as the grid sees it; row 0 is the header.
struct CellPosition {
  ResultGrid grid = ResultGrid::BeforeThin;
  int column = 0;
  int row = 0;
  bool gridEnabled = true;
  bool gridFocused = false;
  bool selected = false;
};

// What the colours also depend on: the regime's G1 window and, for the
// values outside the data behind the models, the growth model and species.
struct ColourContext {
  const RegimeSettings& regime;
  const GrowthModel& model;
  int species = 0;
};

CellColours ColoursOfCell(const ProjectionTables& tables, std::span<const std::uint8_t> columns,
                          const CellPosition& cell, const ColourContext& context);

}  // namespace orven
