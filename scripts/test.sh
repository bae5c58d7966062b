#!/usr/bin/env bash
# Builds Vexlo for Linux (the portable core) and for Windows (Vexlo.exe), then
# runs every test layer: the core's unit tests natively, the Windows-side
# tests and the end-to-end tests under Wine in a private virtual display.
# The last line is the total: "N passed, N failed".
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1
# shellcheck source=scripts/wine-session.sh
. "$root/scripts/wine-session.sh"

started=$SECONDS
build_failed() {
  echo "test.sh: $1" >&2
  echo "0 passed, 1 failed"
  exit 1
}

bash "$root/scripts/prerequisites.sh" || build_failed "installing the prerequisites failed"

# native-sanitize: the unit tests once more with AddressSanitizer and
# UndefinedBehaviorSanitizer, and a short run of each fuzz target.
presets=(native native-sanitize windows)
for preset in "${presets[@]}"; do
  echo "== build: $preset"
  cmake --preset "$preset" >/dev/null || build_failed "configuring the $preset preset failed"
  cmake --build --preset "$preset" || build_failed "building the $preset preset failed"
done

# Old results would hide a layer that crashed this time.
for preset in "${presets[@]}"; do
  rm -rf "build/$preset/results"
  mkdir -p "build/$preset/results"
done

echo "== starting a Wine session"
# Always a private display: the tests move the pointer and type keys.
vexlo_session_start --private-display || build_failed "the Wine session could not start"
# Without it only the two-monitor tests fail (they leave no report).
vexlo_two_monitors_start || echo "test.sh: no two-monitor display for the two-monitor tests" >&2

# The whole run stays within 30 minutes: what has not finished by then is
# stopped, and a layer stopped that way leaves no report and counts as failed.
deadline=$((started + 1740))
declare -A ctest_status
for preset in "${presets[@]}"; do
  echo "== tests: $preset"
  remaining=$((deadline - SECONDS))
  if [ "$remaining" -lt 30 ]; then
    echo "test.sh: no time left for the $preset tests"
    ctest_status[$preset]=1
    continue
  fi
  (cd "build/$preset" && timeout --kill-after=10 "$remaining" ctest --output-on-failure --timeout 900)
  ctest_status[$preset]=$?
done

# Screenshots the end-to-end tests left behind, as PNG for viewing.
for bmp in build/windows/results/*.bmp; do
  [ -e "$bmp" ] || continue
  png="${bmp%.bmp}.png"
  if convert "$bmp" "$png" 2>/dev/null; then
    echo "screenshot: $root/$png"
  fi
done

vexlo_session_stop

# Sums GoogleTest's XML reports. A test that CTest knows of and that left no
# report crashed or hung: it counts as one failure.
attr() { grep -m1 -o "<testsuites[^>]*" "$2" | grep -o " $1=\"[0-9]*\"" | grep -o '[0-9]\+' || echo 0; }
total_passed=0
total_failed=0
for preset in "${presets[@]}"; do
  layers=$(cd "build/$preset" && ctest -N 2>/dev/null | sed -n 's/^ *Test *#[0-9]*: *\([^ ]*\).*/\1/p')
  layer_failed_sum=0
  for layer in $layers; do
    xml="build/$preset/results/$layer.xml"
    if [ ! -s "$xml" ] || ! grep -q "<testsuites" "$xml"; then
      echo "layer $layer ($preset): no results, the test program crashed or timed out"
      total_failed=$((total_failed + 1))
      layer_failed_sum=$((layer_failed_sum + 1))
      continue
    fi
    tests=$(attr tests "$xml")
    failures=$(attr failures "$xml")
    errors=$(attr errors "$xml")
    disabled=$(attr disabled "$xml")
    skipped=$(grep -c 'result="skipped"' "$xml")
    passed=$((tests - failures - errors - disabled - skipped))
    failed=$((failures + errors))
    echo "layer $layer ($preset): $passed passed, $failed failed, $skipped skipped, $disabled disabled"
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failed))
    layer_failed_sum=$((layer_failed_sum + failed))
  done
  if [ "${ctest_status[$preset]}" -ne 0 ] && [ "$layer_failed_sum" -eq 0 ]; then
    echo "ctest ($preset) failed although its reports show no failure"
    total_failed=$((total_failed + 1))
  fi
done

echo "time: $((SECONDS - started)) s"
echo "$total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ] && [ "$total_passed" -gt 0 ]
