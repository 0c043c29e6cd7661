#pragma once

namespace orven {

// Marks a value that cannot be computed. Every model routine returns it for
// arguments outside its domain, and callers test results for > 0 (or >= 0)
// before use, so an invalid value propagates forward instead of stopping work.
inline constexpr double Sentinel = -1e24;

}  // namespace orven
