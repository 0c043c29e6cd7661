#include "projection/ThinningChain.h"

#include <cmath>

#include "model/FloatFault.h"
#include "model/Sentinel.h"
#include "model/TreeVolume.h"
#include "projection/StandFormulas.h"

namespace orven {
namespace {

// X := A - B for a removed or remaining amount. Equal amounts give 0 only
// when they are valid: two invalid values must not pass as "nothing removed".
double Difference(double A, double B) {
  if (A > 0 && B >= 0 && A > B) return A - B;
  if (A == B && B >= 0) return 0;
  return Sentinel;
}

constexpr ChainSet Needs(int variable) {
  switch (variable) {
    case G2: case Q1: return 0;
    case D2: return Bit(D2);
    case N2: return Needs(D2) | Bit(N2);
    case G3: return Bit(G3);
    case N3: return Needs(N2) | Bit(N3);
    case D3: return Needs(N3) | Bit(G3) | Bit(D3);
    case Q3: return Needs(D3) | Bit(Q3);
    case HD3: return Needs(D3) | Bit(HD3);
    case Hg3: return Needs(HD3) | Bit(Hg3);
    case V3: return Needs(Hg3) | Bit(V3);
    case RTA3: return Needs(Hg3) | Bit(RTA3);
    case V2: return Needs(V3) | Bit(V2);
    default: return WholeChain;
  }
}

// Looked up for every candidate of a search.
constexpr auto NeedsOf = [] {
  std::array<ChainSet, VariableRows> needs{};
  for (int v = 0; v < VariableRows; ++v) needs[v] = Needs(v);
  return needs;
}();

}  // namespace

ThinningContext::ThinningContext(ProjectionTables& tables, const RegimeSettings& regime,
                                 const StandSettings& stand)
    : Tables(tables),
      Regime(regime),
      Stand(stand),
      Model(stand.Model()),
      MinVolumeDiameter(MerchDiameterLimit(stand.VolumeDefinition)) {}

ChainSet ChainNeeds(int variable) {
  return variable >= 0 && variable < VariableRows ? NeedsOf[variable] : WholeChain;
}

void RunThinningChain(const ThinningContext& context, int i, ThinningRecord& r, ChainSet which) {
  const ProjectionTables& t = context.Tables;
  const GrowthModel& model = context.Model;
  const int species = context.Stand.Species;
  const int definition = context.Stand.VolumeDefinition;
  const double minDiameter = context.MinVolumeDiameter;
  const double D1v = t.Value(D1, i), HD1v = t.Value(HD1, i);
  const auto runs = [which](int variable) { return (which & Bit(variable)) != 0; };

  if (runs(D2)) r[D2] = r[Q1] > 0 && D1v > 0 ? r[Q1] * D1v : Sentinel;
  if (runs(N2)) {
    if (r[D2] > 0 && r[G2] > 0)
      r[N2] = r[G2] / ((r[D2] / 100) * (r[D2] / 100) * QuarterPi);
    else
      r[N2] = r[D2] > 0 && r[G2] == 0 ? 0 : Sentinel;
  }
  if (runs(G3)) r[G3] = Difference(t.Value(G1, i), r[G2]);
  if (runs(N3)) r[N3] = Difference(t.Value(N1, i), r[N2]);
  if (runs(D3)) r[D3] = r[N3] > 0 && r[G3] > 0 ? MeanDiameterOf(r[G3], r[N3]) : Sentinel;
  if (runs(Q3)) r[Q3] = r[D2] > 0 && r[D3] > 0 ? r[D2] / r[D3] : Sentinel;
  if (runs(HD3))
    r[HD3] = r[D3] > 0 && D1v > 0 && HD1v > 0 ? model.HdomAfterThinning(species, D1v, r[D3], HD1v)
                                              : Sentinel;
  if (runs(Hg3)) r[Hg3] = r[HD3] > 0 ? model.HgFromHdom(species, r[HD3]) : Sentinel;
  if (runs(V3)) {
    if (r[N3] > 0 && r[D3] / 100 > minDiameter && r[Hg3] > 0 && D1v > 0) {
      const double v = TreeVolume(definition, species, r[D3] / 100, r[Hg3], D1v / 100);
      r[V3] = v >= 0 ? v * r[N3] : Sentinel;
    } else {
      r[V3] = r[N3] >= 0 && r[D3] > 0 && r[Hg3] > 0 && D1v > 0 ? 0 : Sentinel;
    }
  }
  if (runs(RTA3)) r[RTA3] = r[N3] > 0 && r[Hg3] > 0 ? RelativeSpacingOf(r[N3], r[Hg3]) : Sentinel;
  if (runs(V2)) r[V2] = Difference(t.Value(V1, i), r[V3]);
  if (runs(Hg2))
    r[Hg2] = r[V2] > 0 && r[N2] > 0 && r[D2] / 100 > minDiameter && D1v > 0
                 ? HeightForTreeVolume(definition, species, r[V2] / r[N2], r[D2] / 100, D1v / 100)
                 : Sentinel;
  if (runs(HD2)) r[HD2] = r[Hg2] > 0 ? model.HdomFromHg(species, r[Hg2]) : Sentinel;
  if (runs(RTA2)) r[RTA2] = r[N2] > 0 && r[Hg2] > 0 ? RelativeSpacingOf(r[N2], r[Hg2]) : Sentinel;
  if (runs(F2)) r[F2] = r[V2] >= 0 && r[G2] > 0 && r[Hg2] > 0 ? r[V2] / (r[G2] * r[Hg2]) : Sentinel;
  if (runs(F3)) r[F3] = r[V3] >= 0 && r[G3] > 0 && r[Hg3] > 0 ? r[V3] / (r[G3] * r[Hg3]) : Sentinel;
}

bool StoreThinning(ThinningContext& context, int i, const ThinningRecord& record, ChainSet which) {
  if (FloatFaultRaised()) return false;
  // The thinning and remaining-stand variables lie between HD2 and RTA3.
  for (int v = HD2; v <= RTA3; ++v)
    if ((which & Bit(v)) && !IsUsable(record[v])) return false;
  for (int v = HD2; v <= RTA3; ++v)
    if (which & Bit(v)) StoreComputed(context.Tables, v, i, record[v]);
  return true;
}

ThinningEvaluation EvaluateThinning(ThinningContext& context, int i, ThinningRecord& scratch,
                                    bool write, double G2value, double Q1value, int a, int b) {
  scratch[G2] = G2value;
  scratch[Q1] = Q1value;
  const ChainSet needed = ChainNeeds(a) | ChainNeeds(b);
  if (write) {
    RunThinningChain(context, i, scratch, WholeChain);
    StoreThinning(context, i, scratch, WholeChain | Bit(G2) | Bit(Q1));
  } else {
    RunThinningChain(context, i, scratch, needed);
  }
  return {scratch[a], scratch[b], (needed & Bit(D3)) ? scratch[D3] : Sentinel};
}

}  // namespace orven
