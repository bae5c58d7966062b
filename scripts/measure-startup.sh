#!/usr/bin/env bash
# Measures Vexlo's start-up time under Wine: from process creation to a
# visible window, against the smallest possible Win32 program measured in the
# same session. A measurement, not a test: it prints numbers and a ratio.
#
#   scripts/measure-startup.sh [runs]     (default 5 runs each)
set -euo pipefail

runs=${1:-5}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=scripts/wine-session.sh
. "$root/scripts/wine-session.sh"

bash "$root/scripts/prerequisites.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target Vexlo minimal_window measure_startup

vexlo_session_start --private-display
folder="$VEXLO_RUN_DIR/measure"
mkdir -p "$folder"
cp build/windows/Vexlo.exe build/windows/minimal_window.exe "$folder/"
report="$folder/report.txt"

# One unmeasured start of each warms wineserver and the file cache; the
# program alternates between the two so that both see the same conditions.
if ! wine build/windows/measure_startup.exe "$(winepath -w "$report")" "$runs" \
     "$(winepath -w "$folder/Vexlo.exe")" "$(winepath -w "$folder/minimal_window.exe")" \
     >/dev/null 2>&1; then
  echo "measure-startup: a program did not show a window (see below)" >&2
fi
echo "Start-up to visible window under Wine, $runs runs each (milliseconds):"
cat "$report"
