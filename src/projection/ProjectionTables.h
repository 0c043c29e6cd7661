#pragma once

#include <array>
#include <bitset>
#include <cstdint>

#include "catalogue/VariableCatalogue.h"

namespace orven {

inline constexpr int YearSlots = 250;     // year index = age - TableStartAge
inline constexpr int IterationRow = 46;   // solver iterations of the year's last search

template <class T>
using VariableYearTable = std::array<std::array<T, YearSlots>, VariableRows>;

// The growth-and-yield table being prepared: every variable of every year,
// the typed-value and red-value flags, the thinning ages and the grid rows.
// Fixed size: nothing is allocated per projection.
struct ProjectionTables {
  VariableYearTable<double> StandTable{};  // [variable][year index]
  VariableYearTable<bool> UserFixed{};     // typed by the user, an input of the projection
  VariableYearTable<double> TypedValue{};  // the value typed, where UserFixed
  VariableYearTable<bool> ValueError{};    // outside the plausible range: shown in red

  bool ThinTableTyped = false;        // a value is typed into the thinning or remaining grid
  bool StateTableTyped = false;       // a value is typed into the first-year state
  std::int32_t ThinTypedCount = 0;    // typed cells among D2 .. RTA3
  std::int32_t StateTypedCount = 0;   // typed cells among HD1 .. RTA1

  std::int32_t TableStartAge = 20;
  std::int32_t TableEndAge = 80;

  // The thinning ages in four forms that always agree.
  std::array<std::int32_t, YearSlots> ThinAges{};  // as generated; unused entries -1
  std::uint16_t ThinAgeCount = 0;
  std::bitset<256> ThinAgeSet;                     // ages above 255 are never members
  std::array<bool, YearSlots> IsThinYear{};        // by year index
  std::int32_t ThinIntervalYears = 5;
  std::int32_t ThinIntervalDivisor = 10;

  std::int32_t TableRowCount = 0;                  // data rows of the result grids
  std::array<std::uint8_t, YearSlots> RowAges{};   // entry r - 1: the age shown in grid row r

  ProjectionTables() { ThinAges.fill(-1); }

  double& Value(int variable, int yearIndex) { return StandTable[variable][yearIndex]; }
  double Value(int variable, int yearIndex) const { return StandTable[variable][yearIndex]; }
  bool Typed(int variable, int yearIndex) const { return UserFixed[variable][yearIndex]; }

  bool IsThinningAge(int age) const { return age >= 0 && age <= 255 && ThinAgeSet.test(age); }
  int LastYearIndex() const { return TableEndAge - TableStartAge; }

  // Zeroes every computed cell (the iteration row: the sentinel); typed cells
  // get their typed value back.
  void ClearComputedValues();
  // Stores a typed value (the caller keeps the counts).
  void SetTyped(int variable, int yearIndex, double value) {
    UserFixed[variable][yearIndex] = true;
    TypedValue[variable][yearIndex] = StandTable[variable][yearIndex] = value;
  }
  // Forgets every typed value and the typed-value bookkeeping.
  void ClearUserFixed();
};

}  // namespace orven
