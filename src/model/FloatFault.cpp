#include "model/FloatFault.h"

#include "model/Sentinel.h"

namespace orven {

void ClearFloatFaults() { std::feclearexcept(FloatFaultFlags); }

bool FloatFaultRaised() { return std::fetestexcept(FloatFaultFlags) != 0; }

namespace detail {

SavedFloatFlags::SavedFloatFlags() { std::fegetexceptflag(&saved, FloatFaultFlags); }

SavedFloatFlags::~SavedFloatFlags() { std::fesetexceptflag(&saved, FloatFaultFlags); }

double CheckedResult(double value) {
  if (FloatFaultRaised() || !std::isfinite(value)) return Sentinel;
  return value;
}

}  // namespace detail
}  // namespace orven
