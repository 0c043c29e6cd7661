#pragma once

#include <bitset>
#include <utility>

#include "projection/ProjectionTables.h"
#include "projection/StandSettings.h"
#include "projection/ThinningChain.h"
#include "projection/ThinningRegime.h"

namespace orven {

// A set of catalogue indices (0..47).
using VariableSet = std::bitset<48>;

struct FixedThinning {
  int count = 0;      // typed variables among D2 .. RTA3 in the year
  VariableSet set;    // which
};

// The typed thinning and remaining-stand variables of a year.
FixedThinning FixedThinVariables(const ProjectionTables& tables, int yearIndex);

// The order of the thinning chain: rank of a variable (18 for any variable
// outside the chain), the variable of a rank (G2 for unlisted ranks), and a
// pair with the lower rank first (the first argument first on equal ranks).
int FixPriority(int variable);
int VariableOfPriority(int rank);
std::pair<int, int> OrderByFixPriority(int a, int b);

// The allowed values of a variable in a year: the targets a search accepts.
struct VariableBounds {
  double min;
  double max;
};
VariableBounds VariableRange(const ProjectionTables& tables, int yearIndex, int variable);

// Finds the removed basal area G2 and the quotient Q1 for which a = valueA and
// b = valueB (a grid search, then a shrinking pattern search), writes the
// whole thinning and the iteration count. False when a target lies outside
// VariableRange (nothing written) or the search did not converge.
bool SolveThinning(ThinningContext& context, int yearIndex, int a, int b, double valueA,
                   double valueB);

// The thinning modes: the regime's target, then the corrective ones.
enum ThinningMode : int {
  RegimeTarget = 0,
  CapThinnedVolume = 1,      // V2 at ThinVMax
  CapThinnedShare = 2,       // 100 G2/G1 at ThinPctMax
  RaiseRemaining = 3,        // RTA3 at RemRSMin, or G3 at RemGMin
  LowerRemaining = 4,        // RTA3 at RemRSMax, or G3 at RemGMax
};

// One thinning of one year, by the typed values of `fixed` or else by the
// mode. Returns true when it failed (a search refused or not converged, or a
// typed variable no rule handles).
bool ThinStand(ThinningContext& context, int yearIndex, const FixedThinning& fixed, int mode,
               double removal, double quotient, double rsTarget);

// True when the year's thinning respects every constraint of the regime that
// its own target does not set.
bool ThinningWithinLimits(const ProjectionTables& tables, const RegimeSettings& regime,
                          int yearIndex);

// True when a property of the thinning is meaningless because next to nothing
// was removed; position is the year index + 1.
bool ThinningNegligible(const ProjectionTables& tables, int variable, int position);

}  // namespace orven
