#include "projection/ThinningSolver.h"

#include <cmath>

#include "model/FloatFault.h"
#include "model/Sentinel.h"
#include "projection/StandFormulas.h"

namespace orven {
namespace {

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
  const double thinnedShare = 100 * value(G2) / value(G1);
  const bool volumeOk = (std::abs(value(V2)) <= 1e-9 || value(V2) >= r.ThinVMin) && value(V2) <= r.ThinVMax;
  const bool remainingOk =
      r.MeasureIsBasalArea
          ? value(RTA3) >= r.RemRSMin && (value(RTA1) > r.RemRSMax || value(RTA3) <= r.RemRSMax)
          : (value(G1) < r.RemGMin || value(G3) >= r.RemGMin) && value(G3) <= r.RemGMax;
  const bool shareOk = (std::abs(value(G2)) < 1e-9 || thinnedShare >= r.ThinPctMin) &&
                       thinnedShare <= r.ThinPctMax;
  return volumeOk && remainingOk && shareOk;
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
