#include "projection/ProjectionEngine.h"

#include <cmath>

#include "model/FloatFault.h"
#include "model/Sentinel.h"
#include "model/TreeVolume.h"
#include "model/YieldTable.h"
#include "projection/StandFormulas.h"
#include "projection/ThinningSolver.h"

namespace orven {
namespace {

constexpr int CorrectivePasses = 6;
constexpr int NoCall = -1;

// One year of the table. Every step returns false when a floating-point
// fault ends the year: the faulting value is not stored and nothing after
// it in that year runs.
class YearOfTable {
public:
  YearOfTable(ThinningContext& context, int yearIndex)
      : c_(context), t_(context.Tables), i_(yearIndex), species_(context.Stand.Species) {}

  double At(int variable) const { return t_.Value(variable, i_); }
  bool Typed(int variable) const { return t_.Typed(variable, i_); }
  bool Put(int variable, double value) { return StoreComputed(t_, variable, i_, value); }

  bool CompleteFirstYear(int age);
  bool Grow();
  bool ComputeVolume();
  bool DecideThinning(int age, bool& ok);

private:
  bool MakeDiameterConsistent();
  bool CompleteHeights(int age);
  bool CompleteSpacing();
  bool ThinYear(int age, const FixedThinning& fixed, bool anyTyped, bool& ok);
  int CorrectiveMode(double& removal, double& rsTarget) const;
  void LeaveUnthinned();

  ThinningContext& c_;
  ProjectionTables& t_;
  int i_;
  int species_;
};

// The yield table's state, then D, N and G made consistent, the heights,
// and the relative spacing; typed values are inputs throughout.
bool YearOfTable::CompleteFirstYear(int age) {
  const double S = c_.Stand.Site.SiteClass;
  if (!Typed(G1) && !Put(G1, YieldTableBasalArea(species_, age, S))) return false;
  if (!Typed(N1) && !Put(N1, YieldTableStemNumber(species_, age, S))) return false;
  if (!Typed(D1) && !Put(D1, YieldTableDiameter(species_, age, S))) return false;
  return MakeDiameterConsistent() && CompleteHeights(age) && CompleteSpacing();
}

bool YearOfTable::MakeDiameterConsistent() {
  bool stored = true;
  if (Typed(D1)) {
    if (Typed(N1) && !Typed(G1))
      stored = Put(G1, BasalAreaOf(At(N1), At(D1)));
    else if (!Typed(N1))
      stored = Put(N1, StemNumberOf(At(G1), At(D1)));
  } else {
    if (Typed(N1) && !Typed(G1))
      stored = Put(G1, BasalAreaOf(At(N1), At(D1)));  // with the yield table's D1
    else if (Typed(G1) && !Typed(N1))
      stored = Put(N1, StemNumberOf(At(G1), At(D1)));
    stored = stored && Put(D1, MeanDiameterOf(At(G1), At(N1)));
  }
  return stored && !FloatFaultRaised();
}

bool YearOfTable::CompleteHeights(int age) {
  const GrowthModel& model = c_.Model;
  bool stored = true;
  if (!Typed(HD1) && !Typed(Hg1)) {
    stored = Put(Hg1, YieldTableHg(species_, age, c_.Stand.Site.SiteClass)) &&
             Put(HD1, model.HdomFromHg(species_, At(Hg1)));
  } else if (!Typed(HD1)) {
    stored = Put(HD1, model.HdomFromHg(species_, At(Hg1)));
  } else if (!Typed(Hg1)) {
    stored = Put(Hg1, model.HgFromHdom(species_, At(HD1)));
  }
  return stored && !FloatFaultRaised();
}

bool YearOfTable::CompleteSpacing() {
  const bool dominantTyped = Typed(HD1), meanTyped = Typed(Hg1);
  bool stored = true;
  if (!Typed(RTA1)) {
    stored = Put(RTA1, RelativeSpacingOf(At(N1), At(Hg1)));
  } else if (!dominantTyped && !meanTyped) {
    stored = Put(Hg1, SpacingConstant / (std::sqrt(At(N1)) * At(RTA1))) &&
             Put(HD1, c_.Model.HdomFromHg(species_, At(Hg1)));
  } else if (dominantTyped != meanTyped) {
    const double root = SpacingConstant / (At(RTA1) * At(Hg1));
    stored = Put(N1, root * root);
    // The typed spacing and height fix the stem number. With neither D1 nor
    // G1 typed, the mean tree of the yield table is kept and the basal area
    // follows the new stem number, as it does when N1 itself is typed.
    if (stored && !Typed(G1))
      stored = Put(G1, BasalAreaOf(At(N1), At(D1)));
    else if (stored && !Typed(D1))
      stored = Put(D1, MeanDiameterOf(At(G1), At(N1)));
  }
  return stored && !FloatFaultRaised();
}

// The stand before thinning grows from the previous year's remaining stand;
// all three increments start from that state.
bool YearOfTable::Grow() {
  const int p = i_ - 1;
  const double HD3p = t_.Value(HD3, p), G3p = t_.Value(G3, p), N3p = t_.Value(N3, p);
  const GrowthModel& model = c_.Model;
  const SiteParameters& site = c_.Stand.Site;
  double HD, G, N;
  if (site.UseA0Model) {
    const double rate = site.GrowthRateParameter();
    HD = HD3p > 0 && G3p > 0 ? HD3p + model.HdomIncrementA0(species_, HD3p, G3p, rate) : Sentinel;
    G = G3p > 0 && HD3p > 0 ? G3p + model.BasalAreaIncrementA0(species_, G3p, HD3p, rate) : Sentinel;
    N = N3p > 0 && HD3p > 0 ? N3p + model.StemNumberChangeA0(species_, N3p, HD3p) : Sentinel;
  } else {
    const double SI = site.SiteIndex;
    HD = HD3p > 0 && G3p > 0 ? HD3p + model.HdomIncrementSI(species_, HD3p, G3p, SI) : Sentinel;
    G = G3p > 0 && HD3p > 0 ? G3p + model.BasalAreaIncrementSI(species_, G3p, HD3p, SI) : Sentinel;
    N = N3p > 0 && HD3p > 0 ? N3p + model.StemNumberChangeSI(species_, N3p, HD3p) : Sentinel;
  }
  if (FloatFaultRaised() || !Put(HD1, HD) || !Put(G1, G) || !Put(N1, N)) return false;

  const double Nv = At(N1), Gv = At(G1);
  if (!Typed(D1) && !Put(D1, Nv > 0 && Gv > 0 ? MeanDiameterOf(Gv, Nv) : Nv > 0 && Gv == 0 ? 0 : Sentinel))
    return false;
  if (!Typed(Hg1) && !Put(Hg1, At(HD1) > 0 ? model.HgFromHdom(species_, At(HD1)) : Sentinel))
    return false;
  const double Hg = At(Hg1);
  if (!Typed(RTA1) && !Put(RTA1, Nv > 0 && Hg > 0 ? RelativeSpacingOf(Nv, Hg) : Sentinel)) return false;
  return !FloatFaultRaised();
}

bool YearOfTable::ComputeVolume() {
  const double D = At(D1), N = At(N1), Hg = At(Hg1), G = At(G1);
  double V = Sentinel;
  if (N > 0 && D / 100 > c_.MinVolumeDiameter && Hg > 0) {
    const double tree = TreeVolume(c_.Stand.VolumeDefinition, species_, D / 100, Hg, D / 100);
    if (tree >= 0) V = tree * N;
  } else if (N >= 0 && D > 0 && Hg > 0) {
    V = 0;  // trees too thin to count
  }
  if (!Put(V1, V) || FloatFaultRaised()) return false;
  return Put(F1, V >= 0 && G > 0 && Hg > 0 ? V / (G * Hg) : Sentinel) && !FloatFaultRaised();
}

bool YearOfTable::DecideThinning(int age, bool& ok) {
  const RegimeSettings& r = c_.Regime;
  const bool thinningYear = t_.IsThinningAge(age);
  bool anyTyped = false;
  FixedThinning fixed;
  if (thinningYear) {
    for (int v : {D2, N2, G2, V2, Q1, Q3, D3, N3, G3, V3, RTA3}) anyTyped = anyTyped || Typed(v);
    fixed = FixedThinVariables(t_, i_);
  }
  const double G = At(G1);
  // A typed thinning overrides the G1 window.
  if (thinningYear && (anyTyped || (r.ThinGMin <= G && G <= r.ThinGMax)))
    return ThinYear(age, fixed, anyTyped, ok);
  LeaveUnthinned();
  return true;
}

void YearOfTable::LeaveUnthinned() {
  for (int v : {HD2, Hg2, D2, F2, RTA2, Q1, Q3}) Put(v, Sentinel);
  for (int v : {N2, G2, V2}) Put(v, 0);
  const int pairs[][2] = {{HD3, HD1}, {Hg3, Hg1}, {D3, D1}, {F3, F1},
                          {N3, N1},   {G3, G1},   {V3, V1}, {RTA3, RTA1}};
  for (const auto& [remaining, before] : pairs) Put(remaining, At(before));
}

bool YearOfTable::ThinYear(int age, const FixedThinning& fixed, bool anyTyped, bool& ok) {
  const RegimeSettings& r = c_.Regime;
  const double q = r.Ramp(r.QuotientStart, r.QuotientEnd, age);
  const double G = At(G1), RTA = At(RTA1);
  const bool inWindow = r.ThinGMin <= G && G <= r.ThinGMax;
  double rsTarget = Sentinel, removal = Sentinel;
  if (r.MeasureIsBasalArea) {
    const double gTarget = r.Ramp(r.TargetGStart, r.TargetGEnd, age);
    removal = inWindow && G - gTarget >= 0 ? G - gTarget : 0;
  } else {
    rsTarget = inWindow ? r.Ramp(r.TargetRSStart, r.TargetRSEnd, age) : RTA;
    if (rsTarget < RTA) rsTarget = RTA;  // a thinning can only widen the spacing
  }

  bool failed = ThinStand(c_, i_, fixed, RegimeTarget, removal, q, rsTarget);
  if (FloatFaultRaised()) return false;
  bool done = anyTyped || ThinningWithinLimits(t_, r, i_);
  for (int pass = 0; !done && pass < CorrectivePasses; ++pass) {
    const int mode = CorrectiveMode(removal, rsTarget);
    if (FloatFaultRaised()) return false;
    if (mode != NoCall) {
      failed = ThinStand(c_, i_, fixed, mode, removal, q, rsTarget);
      if (FloatFaultRaised()) return false;
    }
    done = ThinningWithinLimits(t_, r, i_);
  }
  if (FloatFaultRaised()) return false;
  if (failed) ok = false;
  return true;
}

// The first violated constraint decides the next call; a thinning that is
// too small is cancelled.
int YearOfTable::CorrectiveMode(double& removal, double& rsTarget) const {
  const RegimeSettings& r = c_.Regime;
  if (At(V2) > r.ThinVMax) return CapThinnedVolume;
  if (100 * At(G2) / At(G1) > r.ThinPctMax) return CapThinnedShare;
  if (r.MeasureIsBasalArea) {
    if (At(RTA3) < r.RemRSMin) return RaiseRemaining;
    if (At(RTA3) > r.RemRSMax && At(RTA1) < r.RemRSMax) return LowerRemaining;
  } else {
    if (At(G3) < r.RemGMin && At(G1) > r.RemGMin) return RaiseRemaining;
    if (At(G3) > r.RemGMax) return LowerRemaining;
  }
  if (At(V2) < r.ThinVMin || 100 * At(G2) / At(G1) < r.ThinPctMin) {
    if (r.MeasureIsBasalArea)
      removal = 0;
    else
      rsTarget = At(RTA1);
    return RegimeTarget;
  }
  return NoCall;
}

// How a level variable grows into current and mean increments and totals.
struct IncrementSeries {
  int before, remaining, current, mean;
  int total;              // NoVariable: the mean adds the first year's level to the sum
  bool sumStartsAtLevel;  // the total includes the first year's level
};

constexpr IncrementSeries Series[] = {
    {HD1, HD3, dHDdt, mdHDdt, NoVariable, false}, {Hg1, Hg3, dHgdt, mdHgdt, NoVariable, false},
    {D1, D3, dDdt, mdDdt, NoVariable, false},     {N1, N3, dNdt, mdNdt, dNtot, false},
    {G1, G3, dGdt, mdGdt, dGtot, true},           {V1, V3, dVdt, mdVdt, dVtot, true},
    {F1, F3, dFdt, mdFdt, NoVariable, false},     {RTA1, RTA3, dRTAdt, mdRTAdt, NoVariable, false},
};

}  // namespace

bool ProjectTable(ProjectionTables& tables, const RegimeSettings& regime, const StandSettings& stand) {
  bool ok = true;
  ProjectStand(tables, regime, stand, tables.TableStartAge, ok);
  return ok;
}

void ProjectStand(ProjectionTables& tables, const RegimeSettings& regime,
                  const StandSettings& stand, int fromAge, bool& ok) {
  detail::SavedFloatFlags callersFlags;
  ThinningContext context(tables, regime, stand);
  ok = true;
  for (int age = fromAge; age <= tables.TableEndAge; ++age)
    tables.Value(T, age - tables.TableStartAge) = age;

  for (int age = fromAge; age <= tables.TableEndAge; ++age) {
    ClearFloatFaults();
    YearOfTable year(context, age - tables.TableStartAge);
    const bool stateKnown = age == tables.TableStartAge ? year.CompleteFirstYear(age) : year.Grow();
    if (stateKnown && year.ComputeVolume()) year.DecideThinning(age, ok);
  }
  ComputeIncrements(tables, fromAge);
}

void ComputeIncrements(ProjectionTables& tables, int fromAge) {
  detail::SavedFloatFlags callersFlags;
  const int first = fromAge - tables.TableStartAge;
  double sums[std::size(Series)];
  for (std::size_t k = 0; k < std::size(Series); ++k)
    sums[k] = Series[k].sumStartsAtLevel ? tables.Value(Series[k].before, first) : 0;

  for (int age = fromAge; age <= tables.TableEndAge; ++age) {
    const int i = age - tables.TableStartAge;
    const bool lastYear = age == tables.TableEndAge;
    ClearFloatFaults();
    for (std::size_t k = 0; k < std::size(Series); ++k) {
      const IncrementSeries& s = Series[k];
      double increment = Sentinel;
      if (!lastYear) {
        const double next = tables.Value(s.before, i + 1), now = tables.Value(s.remaining, i);
        // Between invalid values there is no increment, not a zero one.
        if (next >= 0 && now >= 0) increment = next - now;
      }
      const double mean = s.total != NoVariable ? sums[k] / age
                                                : (tables.Value(s.before, first) + sums[k]) / age;
      if (!StoreComputed(tables, s.current, i, increment) || !StoreComputed(tables, s.mean, i, mean))
        break;
      if (s.total != NoVariable && !StoreComputed(tables, s.total, i, sums[k])) break;
      sums[k] += increment;
      if (FloatFaultRaised()) break;
    }
  }
}

}  // namespace orven
