#pragma once

#include "projection/ProjectionTables.h"
#include "projection/StandSettings.h"
#include "projection/ThinningRegime.h"

namespace orven {

// Projects the whole table from TableStartAge to TableEndAge into `tables`
// (computed cells are expected to be cleared first, typed values are inputs).
// Returns false when at least one thinning search failed.
bool ProjectTable(ProjectionTables& tables, const RegimeSettings& regime, const StandSettings& stand);

// The annual loop from fromAge, then the increments; `ok` as for ProjectTable.
void ProjectStand(ProjectionTables& tables, const RegimeSettings& regime,
                  const StandSettings& stand, int fromAge, bool& ok);

// Current and mean increments and cumulative totals from fromAge.
void ComputeIncrements(ProjectionTables& tables, int fromAge);

}  // namespace orven
