#pragma once

#include <cmath>

#include "model/FloatFault.h"
#include "projection/ProjectionTables.h"

namespace orven {

// Held to these digits so that tables agree to the last decimal everywhere.
inline constexpr double QuarterPi = 0.78539816339744830963;
inline constexpr double FourOverPi = 1.2732395447351626862;
inline constexpr double SpacingConstant = 10000;

// G = N (pi/4) (D/100)^2, m2/ha from stems per ha and cm, and back to N.
inline double BasalAreaOf(double N, double D) { return (D / 100) * (D / 100) * QuarterPi * N; }
inline double StemNumberOf(double G, double D) { return G / ((D / 100) * (D / 100) * QuarterPi); }

// D = 100 sqrt((4/pi) G / N), the quadratic mean diameter in cm.
inline double MeanDiameterOf(double G, double N) { return 100 * std::sqrt(FourOverPi * G / N); }

// RTA = 10000 / (sqrt(N) Hg), the mean spacing in per cent of the height.
inline double RelativeSpacingOf(double N, double Hg) { return SpacingConstant / (std::sqrt(N) * Hg); }

// Writes a computed value of a year. A non-finite value is the trace of a
// floating-point fault: it is refused and the caller ends the year. A thinning
// search writes what it reached over a typed target (the table shows the
// thinning done); the typed value itself is kept apart as the input of the
// next projection.
inline bool StoreComputed(ProjectionTables& tables, int variable, int yearIndex, double value) {
  if (!IsUsable(value)) return false;
  tables.StandTable[variable][yearIndex] = value;
  return true;
}

}  // namespace orven
