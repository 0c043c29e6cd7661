#include "tables/TableCells.h"

#include <bitset>
#include <cmath>

#include "messages/NumberText.h"
#include "model/DataRanges.h"
#include "projection/ThinningSolver.h"

namespace orven {
namespace {

bool IsYearOfTable(const ProjectionTables& tables, int yearIndex) {
  return yearIndex >= 0 && yearIndex <= tables.LastYearIndex() && yearIndex < YearSlots;
}

// Properties of a thinning, or of the stand it leaves, that have no meaning
// when next to nothing was removed.
bool MayBeNotApplicable(ResultGrid grid, int v) {
  if (grid == ResultGrid::Thinning) return v == HD2 || v == Hg2 || v == D2 || v == F2 || v == RTA2 || v == Q3;
  return v == HD3 || v == Hg3 || v == D3 || v == F3 || v == RTA3;
}

bool OutsideThinningWindow(const ProjectionTables& tables, const RegimeSettings& regime, int year) {
  const double g1 = tables.Value(G1, year);
  return g1 < regime.ThinGMin || g1 > regime.ThinGMax;
}

// The variables whose values the data behind the models can judge.
bool JudgedAgainstData(ResultGrid grid, int v) {
  if (v == T) return grid != ResultGrid::Thinning;
  if (grid == ResultGrid::BeforeThin) return v >= HD1 && v <= G1;
  return grid == ResultGrid::Remaining && v >= HD3 && v <= G3;
}

constexpr CellColour Window{CellColour::Kind::Window};
constexpr CellColour ButtonFace{CellColour::Kind::ButtonFace};
constexpr CellColour Black = CellColour::Of(0, 0, 0);
constexpr CellColour White = CellColour::Of(255, 255, 255);

CellColour Background(const ProjectionTables& tables, const CellPosition& cell, int v, int year,
                      const RegimeSettings& regime) {
  if (!cell.gridEnabled) return CellColour::Of(230, 230, 230);
  if (cell.selected) return cell.gridFocused ? CellColour::Of(0, 100, 150) : CellColour::Of(150, 150, 170);
  if (cell.row == 0) return v == T ? CellColour::Of(0, 150, 150) : ButtonFace;
  if (v == T) return CellColour::Of(170, 220, 220);
  if (year < 0) return Window;
  const bool editable = !IsComputedVariable(v) && tables.IsThinYear[year] &&
                        (cell.grid != ResultGrid::BeforeThin || cell.row == 1);
  if (!editable) return CellColour::Of(200, 200, 250);
  if (tables.Typed(v, year)) return CellColour::Of(250, 250, 150);
  if (TypingConflict(tables, v, year)) return CellColour::Of(190, 250, 190);
  if (tables.ValueError[v][year]) return CellColour::Of(250, 190, 190);
  if (cell.grid != ResultGrid::BeforeThin && OutsideThinningWindow(tables, regime, year))
    return CellColour::Of(190, 190, 190);
  return Window;
}

CellColour TextColour(const ProjectionTables& tables, const CellPosition& cell, int v, int year,
                      const ColourContext& context) {
  if (!cell.gridEnabled) return CellColour::Of(164, 164, 164);
  if (cell.selected || (cell.row == 0 && v == T)) return White;
  if (cell.row == 0 || year < 0) return Black;
  if (tables.ValueError[v][year]) return CellColour::Of(220, 0, 0);
  const int age = tables.TableStartAge + year;
  if (JudgedAgainstData(cell.grid, v)) {
    const double x = tables.Value(v, year);
    const double height = tables.Value(cell.grid == ResultGrid::BeforeThin ? HD1 : HD3, year);
    if (OutsideModelData(context.model, context.species, v, age, height, x) ||
        OutsideDataRange(context.model, v, context.species, x))
      return CellColour::Of(64, 64, 250);
  }
  if (!IsComputedVariable(v) && tables.IsThinningAge(age) &&
      OutsideThinningWindow(tables, context.regime, year) &&
      (cell.grid != ResultGrid::BeforeThin || cell.row > 1))
    return CellColour::Of(128, 0, 128);
  if (tables.Typed(v, year)) return CellColour::Of(0, 128, 0);
  return Black;
}

}  // namespace

std::string DataCellText(const ProjectionTables& tables, ResultGrid grid, int v, int year,
                         bool gridEnabled, Language language, char decimalSeparator) {
  if (!gridEnabled || v < 0 || v >= VariableCount || !IsYearOfTable(tables, year)) return {};
  const double x = tables.Value(v, year);
  if (WithinDisplayRange(v, x)) return FormatFixed(x, Decimals(v), decimalSeparator);
  if (grid == ResultGrid::BeforeThin) return ErrorText(language);

  const bool thinningYear = tables.IsThinYear[year];
  if (thinningYear && !tables.Typed(v, year) && MayBeNotApplicable(grid, v) &&
      ThinningNegligible(tables, v, year + 1))
    return NotApplicableText(language);
  if (grid == ResultGrid::Thinning) return thinningYear ? ErrorText(language) : std::string();
  // The last year has no next year to grow into.
  if (tables.TableStartAge + year >= tables.TableEndAge && IsCurrentIncrement(v)) return {};
  return ErrorText(language);
}

bool ErrorString(ProjectionTables& tables, const ColumnSelection& columns, RowModel rowModel) {
  for (int v = 0; v < VariableCount; ++v) tables.ValueError[v].fill(false);

  std::bitset<VariableCount> shown;
  auto collect = [&](const auto& list, int last) {
    for (int k = 0; k <= last; ++k)
      if (list[k] != T && list[k] < VariableCount) shown.set(list[k]);
  };
  collect(columns.BeforeThinColumns, columns.LastBeforeThinColumn);
  collect(columns.ThinningColumns, columns.LastThinningColumn);
  collect(columns.RemainingColumns, columns.LastRemainingColumn);

  bool anyError = false;
  for (int age = tables.TableStartAge; age <= tables.TableEndAge; ++age) {
    const int year = age - tables.TableStartAge;
    if (year >= YearSlots) break;
    const bool thinningAge = tables.IsThinningAge(age);
    const bool thinned = thinningAge && tables.Value(N2, year) != 0;
    // The first and last years are rows of both row models.
    const bool rowShown = rowModel == RowModel::AllYears || thinningAge ||
                          age == tables.TableStartAge || age == tables.TableEndAge;
    for (int v = 0; v < VariableCount; ++v) {
      if (!shown.test(v)) continue;
      if (age >= tables.TableEndAge && IsCurrentIncrement(v)) continue;
      // A thinning age without stems removed is judged on nothing.
      if (!thinned && (thinningAge || !rowShown || IsThinningVariable(v))) continue;
      // A cell that shows "N.A." holds no value to judge: a search may leave a
      // thinning of a fraction of a stem, whose spacing is astronomical.
      const ResultGrid grid = IsThinningVariable(v) ? ResultGrid::Thinning : ResultGrid::Remaining;
      if (tables.IsThinYear[year] && !tables.Typed(v, year) && MayBeNotApplicable(grid, v) &&
          ThinningNegligible(tables, v, year + 1))
        continue;
      const double x = tables.Value(v, year);
      if (std::isnan(x) || x < VariableMin(v) || x > VariableMax(v)) {
        tables.ValueError[v][year] = true;
        anyError = true;
      }
    }
  }
  return anyError;
}

std::string ErrorLineText(bool anyValueError, Language language) {
  if (!anyValueError) return {};
  return language == Language::English
             ? "One or more values are too high/low (figures in red) or could not be calculated! - Please check your specifications."
             : "En eller flere værdier er for høje/lave (tal angivet med rødt) eller kunne ikke beregnes! - Kontroller forudsætninger/indtastninger.";
}

std::string NoTableText(Language language) {
  return language == Language::English ? "No table created" : "Der er ikke beregnet nogen tabel";
}

CellColours ColoursOfCell(const ProjectionTables& tables, std::span<const std::uint8_t> columns,
                          const CellPosition& cell, const ColourContext& context) {
  const int column = VariableOfColumn(columns, cell.column);
  const int v = column < 0 ? NoVariable : column;
  const int year = cell.row > 0 ? YearIndexOfRow(tables, cell.row) : -1;
  return {Background(tables, cell, v, year, context.regime), TextColour(tables, cell, v, year, context)};
}

}  // namespace orven
