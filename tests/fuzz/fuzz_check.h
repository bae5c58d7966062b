// What a fuzz target does when an invariant fails: say which, and abort so
// that libFuzzer keeps the input as a finding.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace vexlo::fuzz {

inline void check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "invariant failed: %s\n", what);
  std::abort();
}

}  // namespace vexlo::fuzz
