#pragma once

namespace orven {

// The thinning regime the projection follows: a ramp of targets from the
// first to the last thinning, and the constraints every thinning respects.
struct RegimeSettings {
  int ThinStartAge = 20;  // ages of the first and last thinning of the ramp
  int ThinEndAge = 80;
  bool MeasureIsBasalArea = true;  // target basal area (true) or relative spacing
  double TargetGStart = 25, TargetGEnd = 25;    // m2/ha left after thinning
  double TargetRSStart = 15, TargetRSEnd = 15;  // relative spacing to reach, %
  double QuotientStart = 0.9, QuotientEnd = 1.0;  // Q1 = D2/D1
  double ThinGMin = -10000, ThinGMax = 10000;    // G1 window within which thinning is done
  double ThinVMin = -10000, ThinVMax = 10000;    // thinned volume V2
  double RemRSMin = -10000, RemRSMax = 10000;    // RTA3
  double RemGMin = -10000, RemGMax = 10000;      // G3
  double ThinPctMin = -10000, ThinPctMax = 10000;  // 100 G2/G1

  // The regime value at an age: the start value before the first thinning,
  // the end value after the last, linear in between.
  double Ramp(double start, double end, int age) const {
    if (age < ThinStartAge) return start;
    if (age > ThinEndAge) return end;
    return start + (end - start) * (age - ThinStartAge) / (ThinEndAge - ThinStartAge);
  }
};

}  // namespace orven
