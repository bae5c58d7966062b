#!/usr/bin/env bash
# Measures Vexlo under Wine against the smallest possible Win32 program in
# the same session. A measurement, not a test: it prints numbers and ratios.
#
#   scripts/measure-startup.sh [pairs]     (default 5 pairs after a warm-up pair)
#
# - Start-up: from process creation to the first visible window, in
#   alternating pairs; the median of the pairs' ratios. Once with no settings
#   file, once with one holding 50 emoticons, 50 media entries and 50
#   programs, and once more with that file and the reply's preview on,
#   against the same start with it off: to the first visible window, and
#   to the end of the whole start (the first wait for input).
# - Memory: private bytes and working set of the Wine process (from /proc)
#   after start-up and after 600 ticks, against the minimal program. (On
#   Windows, GetProcessMemoryInfo gives PrivateUsage and WorkingSetSize.)
set -euo pipefail

pairs=${1:-5}
ticks=600
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=scripts/wine-session.sh
. "$root/scripts/wine-session.sh"
# shellcheck source=scripts/wine-process.sh
. "$root/scripts/wine-process.sh"

bash "$root/scripts/prerequisites.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target Vexlo minimal_window measure_startup send_ticks wait_for_window \
  vexlo_startup_floor

vexlo_session_start --private-display
bin=build/windows
empty="$VEXLO_RUN_DIR/empty"
full="$VEXLO_RUN_DIR/full"
preview="$VEXLO_RUN_DIR/preview"
floor="$VEXLO_RUN_DIR/floor"
mkdir -p "$empty" "$full" "$preview" "$floor"
cp "$bin/Vexlo.exe" "$bin/minimal_window.exe" "$empty/"
cp "$bin/Vexlo.exe" "$full/"
cp "$bin/Vexlo.exe" "$preview/"
cp "$bin/vexlo_startup_floor.exe" "$floor/"

# A settings file as a long-time user has it: 50 entries in each list, in
# the ANSI code page of a Chinese system.
full_settings() {
  printf '[Quenby_Sarn]\r\nZt=3\r\nDx=2\r\nJb=False\r\nCh=False\r\nSj=False\r\n'
  printf 'BQs=49\r\nYYs=49\r\nCXs=49\r\n'
  local section prefix name address i
  for section in BQ YY CX; do
    case $section in
      BQ) name="表情"; address='http://img.example.com/face%02d.gif' ;;
      YY) name="歌曲"; address='C:\\音乐\\歌曲%02d.mp3' ;;
      CX) name="程序"; address='C:\\windows\\system32\\notepad.exe' ;;
    esac
    printf '[%sm]\r\n' "$section"
    for i in $(seq 0 49); do printf '%d=%s%02d\r\n' "$i" "$name" "$i"; done
    printf '[%sz]\r\n' "$section"
    for i in $(seq 0 49); do
      # shellcheck disable=SC2059
      printf "%d=$address\r\n" "$i" "$i"
    done
  done
}
full_settings | iconv -f UTF-8 -t GBK >"$full/Vexlo.ini"
# The same with the reply's preview switched on: it shows with the formatter.
{ printf '[Quenby_Sarn]\r\nYl=1\r\n'; full_settings | tail -n +2; } | iconv -f UTF-8 -t GBK >"$preview/Vexlo.ini"

# measure <program> [yardstick] [--until-idle]
measure() {
  local program=$1 yardstick=${2:-$empty/minimal_window.exe} until=${3:-}
  local report="$VEXLO_RUN_DIR/report-$(basename "$(dirname "$1")").txt"
  if ! wine "$bin/measure_startup.exe" "$(winepath -w "$report")" "$pairs" \
       "$(winepath -w "$program")" "$(winepath -w "$yardstick")" ${until:+"$until"} \
       >/dev/null 2>&1; then
    echo "measure-startup: a program did not show a window" >&2
  fi
  cat "$report"
}

echo "Start-up to visible window under Wine, $pairs pairs after a warm-up pair (milliseconds)"
echo "-- no settings file:"
measure "$empty/Vexlo.exe"
echo "-- settings file with 50 emoticons, 50 media entries, 50 programs:"
measure "$full/Vexlo.exe"
echo "-- the same settings file, preview on against preview off:"
measure "$preview/Vexlo.exe" "$full/Vexlo.exe"
# The preview shows after the main window, so also each whole start: until
# the program, its windows shown, first waits for input.
echo "-- the same, each start until Vexlo first waits for input:"
measure "$preview/Vexlo.exe" "$full/Vexlo.exe" --until-idle

echo "-- memory (KiB) of the Wine process, from /proc:"
# The subshells' own stderr is closed too: they report their killed child.
(cd "$full" && wine "$full/Vexlo.exe" >/dev/null 2>&1) 2>/dev/null &
vexlo_job=$!
(cd "$empty" && wine "$empty/minimal_window.exe" >/dev/null 2>&1) 2>/dev/null &
minimal_job=$!
wine "$bin/wait_for_window.exe" VexloMainWindow 60000 >/dev/null 2>&1
wine "$bin/wait_for_window.exe" VexloE2EMinimalWindow 60000 >/dev/null 2>&1
sleep 3
# What Vexlo shows now, for the floor below.
wine "$floor/vexlo_startup_floor.exe" --record "$(winepath -w "$floor/shown-windows.txt")" >/dev/null 2>&1 ||
  echo "measure-startup: the shown windows could not be recorded" >&2
vexlo_pid=$(linux_pid_of 'full/Vexlo.exe')
minimal_pid=$(linux_pid_of 'minimal_window.exe')
read -r vexlo_private vexlo_rss < <(memory_of "$vexlo_pid")
read -r minimal_private minimal_rss < <(memory_of "$minimal_pid")
wine "$bin/send_ticks.exe" VexloMainWindow 1 "$ticks" >/dev/null 2>&1 ||
  echo "measure-startup: the ticks could not be sent" >&2
sleep 1
read -r vexlo_private_after vexlo_rss_after < <(memory_of "$vexlo_pid")
read -r minimal_private_after minimal_rss_after < <(memory_of "$minimal_pid")
echo "Vexlo.exe (full lists): private $vexlo_private, working set $vexlo_rss after start-up;" \
     "private $vexlo_private_after, working set $vexlo_rss_after after $ticks ticks"
echo "minimal_window.exe: private $minimal_private, working set $minimal_rss after start-up;" \
     "private $minimal_private_after, working set $minimal_rss_after at the same moment"
awk -v v="$vexlo_private" -v m="$minimal_private" -v va="$vexlo_private_after" \
  'BEGIN { printf "private bytes ratio: %.2f; growth over the ticks: %+d KiB\n", v / m, va - v }'

{
  kill "$vexlo_pid" "$minimal_pid"
  wait "$vexlo_job" "$minimal_job"
} 2>/dev/null || true
sleep 3

# The least start-up of a window per control: the windows Vexlo shows at
# start (full lists), made by a program that does nothing else.
echo "-- the windows Vexlo shows at start, made by a program that does nothing else:"
measure "$floor/vexlo_startup_floor.exe"
vexlo_session_stop
