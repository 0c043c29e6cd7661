#include "projection/ProjectionTables.h"

#include "model/Sentinel.h"

namespace orven {

void ProjectionTables::ClearComputedValues() {
  for (int k = 0; k < VariableRows; ++k) {
    const double cleared = k == IterationRow ? Sentinel : 0.0;
    for (int i = 0; i < YearSlots; ++i)
      if (!UserFixed[k][i]) StandTable[k][i] = cleared;
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
