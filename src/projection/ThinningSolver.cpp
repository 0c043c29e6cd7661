#include "projection/ThinningSolver.h"

#include <cmath>

#include "model/FloatFault.h"
#include "model/Sentinel.h"
#include "model/TreeVolume.h"
#include "projection/StandFormulas.h"

namespace orven {
namespace {

// X := A - B for a removed or remaining amount. Equal amounts give 0 only
// when they are valid: two invalid values must not pass as "nothing removed".
// Amounts that differ only by the rounding of the two routes that compute
// them count as equal: with no stems removed, V3 is recomputed from the
// remaining stand's diameter and height and may come out a few units in the
// last place above V1, and a removal of nothing must remove no volume.
constexpr double SameAmount = 1e-12;  // relative

double Difference(double A, double B) {
  if (A >= 0 && B >= 0 && std::fabs(A - B) <= SameAmount * A) return 0;
  if (A > 0 && B >= 0 && A > B) return A - B;
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

// The chain order: the variable of each rank.
constexpr int RankedVariables[] = {G2, Q1, D2, N2, G3, N3, D3, Q3, HD3,
                                   Hg3, V3, RTA3, V2, Hg2, HD2, RTA2, F2, F3};
constexpr int RankCount = 18;

constexpr int FirstThinVariable = D2;    // 11
constexpr int LastThinVariable = RTA3;   // 26

// Search constants; changing any of them changes the tables.
constexpr double GridFraction = 0.1;
constexpr double FirstStep = 0.27;
constexpr double StepFactor = 0.618;
constexpr int IterationLimit = 200;
constexpr double TargetTolerance = 1e-6;
constexpr double MisfitFloor = 1e-24;
constexpr double Unreachable = 1e24;

// One free quantity of a search: its range, or a single value when fixed.
struct SearchAxis {
  double lo;
  double hi;
  bool free;

  static SearchAxis Fixed(double value) { return {value, value, false}; }
  bool Contains(double x) const { return lo <= x && x <= hi; }
  double Span() const { return hi - lo; }
  int GridPoints() const { return free ? 9 : 1; }
  double GridPoint(int k) const { return free ? lo + Span() * GridFraction * (k + 1) : lo; }
};

struct Candidate {
  double G2;
  double Q1;
  double misfit;
  double achievedA;
  double achievedB;
};

// The search of one SolveThinning call: its targets, their ranges and the
// scratch record the candidates are evaluated on.
class ThinningSearch {
public:
  ThinningSearch(ThinningContext& context, int yearIndex, int a, int b, double valueA,
                 double valueB, VariableBounds rangeA, VariableBounds rangeB)
      : context_(context), i_(yearIndex), a_(a), b_(b), valueA_(valueA), valueB_(valueB),
        midA_((rangeA.min + rangeA.max) / 2), midB_((rangeB.min + rangeB.max) / 2),
        D1_(context.Tables.Value(D1, yearIndex)) {}

  // The objective: relative misses of both targets, plus a weak preference
  // for thinnings that leave the mean diameter unchanged.
  Candidate ThinningMisfit(double G2value, double Q1value) {
    const ThinningEvaluation e =
        EvaluateThinning(context_, i_, scratch_, false, G2value, Q1value, a_, b_);
    double misfit = 100 * std::abs(e.achievedA - valueA_) / midA_ +
                    100 * std::abs(e.achievedB - valueB_) / midB_;
    if (e.remainingDiameter >= 0) misfit += std::abs(e.remainingDiameter - D1_) / D1_;
    return {G2value, Q1value, misfit, e.achievedA, e.achievedB};
  }

  bool TargetsMet(const Candidate& c) const {
    return std::abs(valueA_ - c.achievedA) < TargetTolerance &&
           std::abs(valueB_ - c.achievedB) < TargetTolerance;
  }

  void Write(const Candidate& c) { EvaluateThinning(context_, i_, scratch_, true, c.G2, c.Q1, a_, b_); }

private:
  ThinningContext& context_;
  int i_, a_, b_;
  double valueA_, valueB_, midA_, midB_, D1_;
  ThinningRecord scratch_;
};

bool IsAmount(int variable) {
  return variable == N2 || variable == G2 || variable == V2 || variable == N3 ||
         variable == G3 || variable == V3;
}

// The typed variables of a year in ascending index order (the first two).
std::pair<int, int> FirstTwoTyped(const FixedThinning& fixed) {
  int found[2] = {NoVariable, NoVariable};
  int n = 0;
  for (int v = FirstThinVariable; v <= LastThinVariable && n < 2; ++v)
    if (fixed.set.test(v)) found[n++] = v;
  return {found[0], found[1]};
}

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
      r[N2] = StemNumberOf(r[G2], r[D2]);
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

FixedThinning FixedThinVariables(const ProjectionTables& tables, int yearIndex) {
  FixedThinning fixed;
  for (int v = FirstThinVariable; v <= LastThinVariable; ++v)
    if (tables.Typed(v, yearIndex)) {
      fixed.set.set(v);
      ++fixed.count;
    }
  return fixed;
}

int FixPriority(int variable) {
  for (int rank = 0; rank < RankCount; ++rank)
    if (RankedVariables[rank] == variable) return rank;
  return RankCount;
}

int VariableOfPriority(int rank) {
  return rank > 0 && rank < RankCount ? RankedVariables[rank] : G2;
}

std::pair<int, int> OrderByFixPriority(int a, int b) {
  return FixPriority(b) < FixPriority(a) ? std::pair{b, a} : std::pair{a, b};
}

VariableBounds VariableRange(const ProjectionTables& tables, int i, int variable) {
  const double D1v = tables.Value(D1, i);
  switch (variable) {
    case D2: return {VariableMin(Q1) * D1v, VariableMax(Q1) * D1v};
    case N2: case N3: return {0, tables.Value(N1, i)};
    case G2: case G3: return {0, tables.Value(G1, i)};
    case V2: case V3: return {0, tables.Value(V1, i)};
    case D3: return {VariableMin(Q1) * D1v / VariableMax(Q3), VariableMax(Q1) * D1v / VariableMin(Q3)};
    default: return {VariableMin(variable), VariableMax(variable)};
  }
}

bool SolveThinning(ThinningContext& context, int i, int a, int b, double valueA, double valueB) {
  const ProjectionTables& t = context.Tables;
  const VariableBounds rangeA = VariableRange(t, i, a);
  const VariableBounds rangeB = VariableRange(t, i, b);
  const SearchAxis g = a == G2   ? SearchAxis::Fixed(valueA)
                       : b == G2 ? SearchAxis::Fixed(valueB)
                                 : SearchAxis{0, t.Value(G1, i), true};
  const SearchAxis q = a == Q1   ? SearchAxis::Fixed(valueA)
                       : b == Q1 ? SearchAxis::Fixed(valueB)
                                 : SearchAxis{VariableMin(Q1), VariableMax(Q1), true};
  if (valueA < rangeA.min || valueA > rangeA.max || valueB < rangeB.min || valueB > rangeB.max)
    return false;

  ThinningSearch search(context, i, a, b, valueA, valueB, rangeA, rangeB);
  // Until a candidate beats the initial misfit, the first grid point stands as best.
  Candidate best{g.GridPoint(0), q.GridPoint(0), Unreachable, Sentinel, Sentinel};
  const auto consider = [&](const Candidate& c) {
    if (c.misfit < best.misfit) best = c;
  };
  for (int kg = 0; kg < g.GridPoints(); ++kg)
    for (int kq = 0; kq < q.GridPoints(); ++kq) consider(search.ThinningMisfit(g.GridPoint(kg), q.GridPoint(kq)));

  const auto neighbour = [&](double G2value, double Q1value) {
    if (g.Contains(G2value) && q.Contains(Q1value))
      consider(search.ThinningMisfit(G2value, Q1value));
    else
      consider({G2value, Q1value, Unreachable, Sentinel, Sentinel});
  };
  double step = FirstStep;
  int iterations = 0;
  while (true) {
    step *= StepFactor;
    const Candidate centre = best;
    const double sg = step * g.Span(), sq = step * q.Span();
    if (g.free) neighbour(centre.G2 - sg, centre.Q1);
    if (q.free) {
      neighbour(centre.G2, centre.Q1 - sq);
      neighbour(centre.G2, centre.Q1 + sq);
    }
    if (g.free) neighbour(centre.G2 + sg, centre.Q1);
    ++iterations;
    if (best.misfit < MisfitFloor || iterations > IterationLimit || search.TargetsMet(best)) break;
  }

  search.Write(best);
  if (!FloatFaultRaised()) StoreComputed(context.Tables, IterationRow, i, iterations);
  return iterations <= IterationLimit;
}

bool ThinStand(ThinningContext& context, int i, const FixedThinning& fixed, int mode,
               double removal, double quotient, double rsTarget) {
  ProjectionTables& t = context.Tables;
  const RegimeSettings& regime = context.Regime;
  const bool basalArea = regime.MeasureIsBasalArea;
  const double D1v = t.Value(D1, i);
  const auto value = [&](int variable) { return t.Value(variable, i); };
  const auto store = [&](int variable, double x) { StoreComputed(t, variable, i, x); };
  const auto solveFailed = [&](int a, int b, double valueA, double valueB) {
    return !SolveThinning(context, i, a, b, valueA, valueB);
  };
  const auto setQuotient = [&](double q) {
    store(Q1, q);
    store(D2, D1v > 0 ? q * D1v : Sentinel);
  };
  // G2 and D2 are in the table; the rest of the thinning follows from them.
  const auto chainFromN2 = [&](double G2value) {
    store(G2, G2value);
    ThinningRecord record;
    record[G2] = value(G2);
    record[Q1] = value(Q1);
    record[D2] = value(D2);
    RunThinningChain(context, i, record, WholeChain & ~Bit(D2));
    StoreThinning(context, i, record, WholeChain & ~Bit(D2));
  };
  // After the kind of thinning (D2 or Q1) is known.
  const auto byMeasure = [&] {
    if (!basalArea) return solveFailed(Q1, RTA3, value(Q1), rsTarget);
    chainFromN2(removal);
    return false;
  };

  if (fixed.count == 0) {
    setQuotient(quotient);
    switch (mode) {
      case CapThinnedVolume: return solveFailed(Q1, V2, quotient, regime.ThinVMax);
      case CapThinnedShare: chainFromN2(regime.ThinPctMax / 100 * value(G1)); return false;
      case RegimeTarget:
        if (!basalArea) return solveFailed(Q1, RTA3, quotient, rsTarget);
        chainFromN2(removal);
        return false;
      case RaiseRemaining:
        return basalArea ? solveFailed(Q1, RTA3, quotient, regime.RemRSMin)
                         : solveFailed(Q1, G3, quotient, regime.RemGMin);
      case LowerRemaining:
        return basalArea ? solveFailed(Q1, RTA3, quotient, regime.RemRSMax)
                         : solveFailed(Q1, G3, quotient, regime.RemGMax);
      default: return false;
    }
  }

  if (fixed.count == 1) {
    const int x = FirstTwoTyped(fixed).first;
    const double v = value(x);
    switch (x) {
      case D2: store(Q1, D1v > 0 ? v / D1v : Sentinel); return byMeasure();
      case Q1: store(D2, D1v > 0 ? v * D1v : Sentinel); return byMeasure();
      case Q3: case D3:
        if (!basalArea) return solveFailed(x, RTA3, v, rsTarget);
        store(G2, removal);
        return solveFailed(G2, x, removal, v);
      default:
        if (!IsAmount(x) && x != RTA3) return true;
        setQuotient(quotient);
        return solveFailed(Q1, x, quotient, v);
    }
  }

  const auto [first, second] = FirstTwoTyped(fixed);
  const auto [a, b] = OrderByFixPriority(first, second);
  return solveFailed(a, b, value(a), value(b));
}

bool ThinningWithinLimits(const ProjectionTables& tables, const RegimeSettings& r, int i) {
  const auto value = [&](int variable) { return tables.Value(variable, i); };
  const double V2v = value(V2), G1v = value(G1), G2v = value(G2), G3v = value(G3), RTA3v = value(RTA3);
  if (!((std::abs(V2v) <= 1e-9 || V2v >= r.ThinVMin) && V2v <= r.ThinVMax)) return false;
  if (r.MeasureIsBasalArea) {
    if (!(RTA3v >= r.RemRSMin && (value(RTA1) > r.RemRSMax || RTA3v <= r.RemRSMax))) return false;
  } else if (!((G1v < r.RemGMin || G3v >= r.RemGMin) && G3v <= r.RemGMax)) {
    return false;
  }
  // The share comes last: only a thinning that passed the rest divides by G1.
  return (std::abs(G2v) < 1e-9 || 100 * G2v / G1v >= r.ThinPctMin) && 100 * G2v / G1v <= r.ThinPctMax;
}

bool ThinningNegligible(const ProjectionTables& tables, int variable, int position) {
  const int i = position - 1;
  if (i < 0 || i >= YearSlots) return false;
  const int n = FixPriority(variable);
  for (int rank = 0; rank < n; ++rank) {
    const int v = VariableOfPriority(rank);
    if (IsAmount(v) && std::abs(tables.Value(v, i)) < VariableMin(v) + 0.0001) return true;
  }
  return false;
}

}  // namespace orven
