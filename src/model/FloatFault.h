#pragma once

#include <cfenv>
#include <cmath>

namespace orven {

// Floating-point faults are the IEEE exceptions invalid operation, division by
// zero and overflow (underflow and inexact results are ordinary arithmetic).
//
// The model uses one mechanism for them everywhere:
//  - A routine that catches its own faults runs its arithmetic through
//    CatchFloatFault(), which returns the sentinel when a fault was raised or the
//    result is not finite, and leaves the caller's fault flags as they were.
//  - A routine that does not catch its faults simply lets the IEEE flags rise.
//    Its caller brackets the call with ClearFloatFaults() / FloatFaultRaised()
//    (the projection does this once per simulated year, the command line once
//    per evaluation) and also rejects non-finite results, so NaN or infinity is
//    never stored.
inline constexpr int FloatFaultFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

void ClearFloatFaults();
bool FloatFaultRaised();

// True when the value may be stored: finite. (A fault always leaves a
// non-finite value or a raised flag; callers check both.)
inline bool IsUsable(double value) { return std::isfinite(value); }

// Runs compute() with cleared flags; returns its result, or the sentinel when
// it raised a fault or gave a non-finite value. The caller's flags are kept.
template <class Compute>
double CatchFloatFault(Compute&& compute);

namespace detail {
struct SavedFloatFlags {
  SavedFloatFlags();
  ~SavedFloatFlags();
  SavedFloatFlags(const SavedFloatFlags&) = delete;
  SavedFloatFlags& operator=(const SavedFloatFlags&) = delete;
  std::fexcept_t saved;
};
double CheckedResult(double value);
}  // namespace detail

template <class Compute>
double CatchFloatFault(Compute&& compute) {
  detail::SavedFloatFlags keep;
  ClearFloatFaults();
  // The volatile store forces the arithmetic to finish before the flags are read.
  volatile double value = compute();
  return detail::CheckedResult(value);
}

}  // namespace orven
