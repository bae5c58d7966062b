#!/usr/bin/env bash
# Measures the capture's copy to the clipboard and its PNG save of a
# 1280 x 800 picture under Wine, each against the platform doing the same
# alone in the same run. A measurement, not a test: it prints times and
# ratios.
#
#   scripts/measure-capture-copy.sh
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=scripts/wine-session.sh
. "$root/scripts/wine-session.sh"

bash "$root/scripts/prerequisites.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target vexlo_capture_copy_measure

vexlo_session_start --private-display
wine build/windows/vexlo_capture_copy_measure.exe 2>/dev/null
