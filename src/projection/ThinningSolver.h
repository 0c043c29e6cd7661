#pragma once

#include <bitset>
#include <utility>

#include "projection/ProjectionTables.h"
#include "projection/StandSettings.h"
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

// True when the year's thinning respects every constraint of the regime that
// its own target does not set.
bool ThinningWithinLimits(const ProjectionTables& tables, const RegimeSettings& regime,
                          int yearIndex);

// True when a property of the thinning is meaningless because next to nothing
// was removed; position is the year index + 1.
bool ThinningNegligible(const ProjectionTables& tables, int variable, int position);

}  // namespace orven
