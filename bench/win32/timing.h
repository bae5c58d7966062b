// What every measurement program times with: a steady clock, milliseconds
// since a start, and the median of repeated runs (robust against the odd
// slow run a shared machine gives).
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace vexlo::bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace vexlo::bench
