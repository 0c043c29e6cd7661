#pragma once

#include <array>
#include <cstdint>

#include "model/GrowthModel.h"
#include "model/Sentinel.h"
#include "projection/ProjectionTables.h"
#include "projection/StandSettings.h"
#include "projection/ThinningRegime.h"

namespace orven {

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

}  // namespace orven
