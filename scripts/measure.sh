#!/usr/bin/env bash
# Builds one of the Win32 measurement programs and runs it under Wine in a
# private session. A measurement, not a test: the program prints its times
# and ratios against the platform doing the same alone in the same run.
#
#   scripts/measure.sh vexlo_file_list_measure       entering 10,000 files
#   scripts/measure.sh vexlo_capture_copy_measure    copy and PNG save of a capture
#   scripts/measure.sh vexlo_preview_paint_measure   the preview's rainbow repaint
set -euo pipefail

if [ $# -ne 1 ]; then
  sed -n '5,8p' "${BASH_SOURCE[0]}" | sed 's/^# *//' >&2
  exit 2
fi
target=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=scripts/wine-session.sh
. "$root/scripts/wine-session.sh"

bash "$root/scripts/prerequisites.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target "$target"

vexlo_session_start --private-display
wine "build/windows/$target.exe" 2>/dev/null
