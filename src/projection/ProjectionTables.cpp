#include "projection/ProjectionTables.h"

#include "model/Sentinel.h"

namespace orven {

void ProjectionTables::ClearComputedValues() {
  for (int k = 0; k < VariableRows; ++k) {
    const double cleared = k == IterationRow ? Sentinel : 0.0;
    for (int i = 0; i < YearSlots; ++i)
      StandTable[k][i] = UserFixed[k][i] ? TypedValue[k][i] : cleared;
  }
}

void ProjectionTables::ClearUserFixed() {
  for (auto& row : UserFixed) row.fill(false);
  ThinTableTyped = false;
  StateTableTyped = false;
  ThinTypedCount = 0;
  StateTypedCount = 0;
}

}  // namespace orven
