#!/usr/bin/env bash
# Builds Vexlo.exe and starts it under Wine.
#
# With a display ($DISPLAY set) Vexlo runs in the foreground until it is left
# through its exit control. Without one (a server, CI) it runs in a private
# virtual display: once its window is up, a screenshot is saved as a PNG, its
# path is printed, and everything that was started is stopped again.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=scripts/wine-session.sh
. "$root/scripts/wine-session.sh"

bash "$root/scripts/prerequisites.sh"
cmake --preset windows >/dev/null
# Only what this script runs: the program, and the helper that waits for its
# window. The tests are test.sh's to build.
cmake --build --preset windows --target Vexlo wait_for_window

# The settings file lives beside the executable: give Vexlo a folder of its
# own that survives between runs.
run_folder="$root/build/run"
mkdir -p "$run_folder"
cp build/windows/Vexlo.exe "$run_folder/Vexlo.exe"

if [ -n "${DISPLAY:-}" ]; then
  export LANG=zh_CN.UTF-8 WINEDEBUG=-all
  unset LC_ALL
  cd "$run_folder"
  exec wine "$run_folder/Vexlo.exe"
fi

vexlo_session_start
wine "$run_folder/Vexlo.exe" >"$VEXLO_RUN_DIR/vexlo.log" 2>&1 &
vexlo_pid=$!

# The window is found from inside Wine, by its window class.
if ! wine build/windows/wait_for_window.exe VexloMainWindow 60000 >/dev/null 2>&1; then
  echo "run.sh: no window of class VexloMainWindow appeared within 60 s" >&2
  kill "$vexlo_pid" 2>/dev/null || true
  exit 1
fi
sleep 3

screenshot="$run_folder/vexlo-$(date +%Y%m%d-%H%M%S).png"
import -window root "$screenshot"
echo "$screenshot"

# Stopping the prefix's wineserver ends Vexlo with it.
vexlo_session_stop
wait "$vexlo_pid" 2>/dev/null || true
