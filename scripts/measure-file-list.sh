#!/usr/bin/env bash
# Measures entering a folder of 10,000 files in the file manager under Wine,
# against a bare FindFirstFileW/FindNextFileW enumeration of the same folder
# in the same run. A measurement, not a test: it prints times and ratios.
#
#   scripts/measure-file-list.sh
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=scripts/wine-session.sh
. "$root/scripts/wine-session.sh"

bash "$root/scripts/prerequisites.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target vexlo_file_list_measure

vexlo_session_start --private-display
# The program makes its folder in the prefix's temporary folder and removes it.
wine build/windows/vexlo_file_list_measure.exe 2>/dev/null
