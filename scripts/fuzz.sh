#!/usr/bin/env bash
# Runs the fuzz targets for a given time each and prints, per target, the
# executions, executions per second, new inputs and findings.
#
#   scripts/fuzz.sh <seconds> [target...]      (default: every target)
#
# Builds the native-sanitize preset first. Each target starts from its seeds
# (tests/fuzz/corpus/<target>) and from what earlier runs found, which is
# kept in build/native-sanitize/fuzz/<target>/corpus. Findings land in
# build/native-sanitize/fuzz/<target>/findings: fix each in the program,
# with a unit test, and add the input to tests/fuzz/corpus/<target>.
# Run a finding again with full reports:
#   build/native-sanitize/tests/fuzz/fuzz_<target> <finding>
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1
if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
  echo "usage: scripts/fuzz.sh <seconds> [target...]" >&2
  exit 2
fi
seconds=$1
shift

bash "$root/scripts/prerequisites.sh" || exit 1
cmake --preset native-sanitize >/dev/null || exit 1
cmake --build --preset native-sanitize || exit 1

build=build/native-sanitize
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for fuzzer in "$build"/tests/fuzz/fuzz_*; do
    [ -x "$fuzzer" ] && targets+=("${fuzzer##*/fuzz_}")
  done
fi

# Long runs keep less allocator bookkeeping per allocation (no allocation
# stacks, a smaller quarantine) for more executions per second; running a
# finding again, as above, gives the full report.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0:quarantine_size_mb=16}

failed=0
for target in "${targets[@]}"; do
  bash tests/fuzz/run_target.sh "$build/tests/fuzz/fuzz_$target" "tests/fuzz/corpus/$target" "$build/fuzz/$target" \
    --keep-corpus -max_total_time="$seconds" || failed=1
done
exit "$failed"
