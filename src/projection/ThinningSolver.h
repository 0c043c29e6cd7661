#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <utility>

#include "model/GrowthModel.h"
#include "model/Sentinel.h"
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

// What the thinning of a year needs besides the two free quantities; built
// once per projection. The routines below run inside the projection's guard
// of a year (flags cleared at its start): a fault pending when a thinning is
// to be written stops the write, and the year ends.
struct ThinningContext {
  ThinningContext(ProjectionTables& tables, const RegimeSettings& regime,
                  const StandSettings& stand);

  ProjectionTables& Tables;
  const RegimeSettings& Regime;
  const StandSettings& Stand;
  GrowthModel Model;
  double MinVolumeDiameter;  // m; trees not thicker than this have no volume
};

// Working values of one thinning, indexed by variable. Candidates of a search
// are evaluated here so that the table is written once, for the chosen one.
struct ThinningRecord {
  ThinningRecord() { Value.fill(Sentinel); }
  double& operator[](int variable) { return Value[variable]; }
  double operator[](int variable) const { return Value[variable]; }
  std::array<double, VariableRows> Value;
};

// A set of chain variables, one bit per catalogue index.
using ChainSet = std::uint32_t;
constexpr ChainSet Bit(int variable) { return ChainSet{1} << variable; }

// Everything the thinning chain computes from G2 and Q1.
inline constexpr ChainSet WholeChain = Bit(D2) | Bit(N2) | Bit(G3) | Bit(N3) | Bit(D3) |
                                       Bit(Q3) | Bit(HD3) | Bit(Hg3) | Bit(V3) | Bit(RTA3) |
                                       Bit(V2) | Bit(Hg2) | Bit(HD2) | Bit(RTA2) | Bit(F2) | Bit(F3);

// The chain variables that must be computed to know a variable: none for the
// free quantities G2 and Q1, the whole chain for the variables of its last
// step (Hg2, HD2, RTA2, F2, F3) and any other.
ChainSet ChainNeeds(int variable);

// Computes the variables of `which` on `record`, in chain order, from G2, Q1
// (and D2 where it is not in `which`) of the record and the year's stand
// before thinning. `which` must hold what its members need (ChainNeeds).
void RunThinningChain(const ThinningContext& context, int yearIndex, ThinningRecord& record,
                      ChainSet which);

// Copies the variables of `which` into the year. Returns false, writing
// nothing, when a floating-point fault is pending or a value is not finite.
bool StoreThinning(ThinningContext& context, int yearIndex, const ThinningRecord& record,
                   ChainSet which);

struct ThinningEvaluation {
  double achievedA;
  double achievedB;
  double remainingDiameter;  // D3 when a or b needs it, else the sentinel
};

// One candidate (G2, Q1). Without `write` the chain computes on `scratch` only
// what a and b need, so that the costly volume and height functions run only
// for targets that need them; with `write` the whole chain runs and the
// year's thinning is written (when no fault is pending).
ThinningEvaluation EvaluateThinning(ThinningContext& context, int yearIndex, ThinningRecord& scratch,
                                    bool write, double G2, double Q1, int a, int b);

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
