#!/usr/bin/env bash
# Soak run: Vexlo.exe under Wine, driven through synthesized input for a
# while (the panel keys, conversions by clicks in every colour mode, F12 in
# another program, F7 with its save dialog cancelled, the F8 overlay, the
# media panel's WAV played and stopped, the file manager panel browsing a
# folder of pictures), with its private bytes and handle counts taken at the
# start, after 1 and 5 minutes, then every 5 minutes and at the end. A measurement, not a test: it prints
# the figures, and is not part of scripts/test.sh.
#
#   scripts/soak.sh [minutes]     (default 10)
#
# VEXLO_SOAK_STEPS=capture,media (names from bench/win32/soak_driver.cpp)
# drives only those steps, to find out which one a growth comes with.
#
# The goal is no growth after the first minute. Private bytes as in
# measure-startup.sh (from /proc of the Wine process); handles as
# handle_counts.exe counts them (see there for what Wine can count).
set -euo pipefail

minutes=${1:-10}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=scripts/wine-session.sh
. "$root/scripts/wine-session.sh"
# shellcheck source=scripts/wine-process.sh
. "$root/scripts/wine-process.sh"

bash "$root/scripts/prerequisites.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target Vexlo target_edit wait_for_window handle_counts vexlo_soak_driver

vexlo_session_start --private-display
bin=$root/build/windows
app="$VEXLO_RUN_DIR/app"
mkdir -p "$app"
cp "$bin/Vexlo.exe" "$app/"

# A WAV of two seconds of silence for the media panel, and settings that
# hold it as the media favourite.
python3 - "$app/song.wav" <<'PYTHON'
import struct, sys
rate, seconds = 8000, 2
data = b"\x80" * (rate * seconds)
header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt " + struct.pack("<IHHIIHH", 16, 1, 1, rate, rate, 1, 8)
open(sys.argv[1], "wb").write(header + b"data" + struct.pack("<I", len(data)) + data)
PYTHON
wav=$(winepath -w "$app/song.wav")
# A folder for the file manager panel to start in: a subdirectory of
# pictures and some other files.
mkdir -p "$app/soak/图片"
for name in 图片/red 图片/green 图片/blue notes; do cp "$app/song.wav" "$app/soak/$name.txt"; done
python3 - "$app/soak/图片" <<'PYTHON'
import struct, sys
for name, colour in (("red", b"\x00\x00\xff"), ("green", b"\x00\xff\x00"), ("blue", b"\xff\x00\x00")):
    width, height = 64, 48
    pixels = colour * width * height
    header = b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    open(f"{sys.argv[1]}/{name}.bmp", "wb").write(header + info + pixels)
PYTHON
folder=$(winepath -w "$app/soak")
printf '[Quenby_Sarn]\r\nBQs=-1\r\nYYs=0\r\nCXs=-1\r\nPath=%s\r\n[YYm]\r\n0=歌曲\r\n[YYz]\r\n0=%s\r\n' "$folder" "$wav" |
  iconv -f UTF-8 -t GBK >"$app/Vexlo.ini"

(cd "$app" && wine "$app/Vexlo.exe" >/dev/null 2>&1) &
vexlo_job=$!
wine "$bin/wait_for_window.exe" VexloMainWindow 60000 >/dev/null 2>&1
sleep 3
pid=$(linux_pid_of 'app/Vexlo.exe')

handles="$VEXLO_RUN_DIR/handles.txt"
log="$VEXLO_RUN_DIR/soak.log"
finish="$VEXLO_RUN_DIR/finish"
figures=()
privates=()
sample() {
  local label=$1 private rss counts
  read -r private rss < <(memory_of "$pid")
  if wine "$bin/handle_counts.exe" VexloMainWindow "$(winepath -w "$handles")" >/dev/null 2>&1; then
    counts=$(tail -n 1 "$handles")
  else
    counts="(no window to count)"
  fi
  privates+=("$private")
  figures+=("$(printf '%-8s private %7d KiB   working set %7d KiB   %s' "$label" "$private" "$rss" "$counts")")
  echo "${figures[-1]}"
}

echo "Soak of Vexlo.exe under Wine for $minutes minutes (Linux pid $pid)"
sample start
VEXLO_BIN="$bin" wine "$bin/vexlo_soak_driver.exe" $((minutes * 60)) "$(winepath -w "$log")" \
  "$(winepath -w "$finish")" "${VEXLO_SOAK_STEPS:-}" >/dev/null 2>&1 &
driver=$!
started=$SECONDS
marks=(1)
for ((m = 5; m < minutes; m += 5)); do marks+=("$m"); done
[ "$minutes" -gt 1 ] && marks+=("$minutes")
for mark in "${marks[@]}"; do
  while [ $((SECONDS - started)) -lt $((mark * 60)) ]; do sleep 1; done
  sample "${mark} min"
done
touch "$finish"
driver_status=0
wait "$driver" || driver_status=$?
# How Vexlo.exe itself ended after its exit control (wine passes its exit
# code on; 128+n is a signal, a crash on the way out).
vexlo_status="still running"
for _ in $(seq 20); do
  kill -0 "$vexlo_job" 2>/dev/null || break
  sleep 1
done
if ! kill -0 "$vexlo_job" 2>/dev/null; then
  vexlo_status=0
  wait "$vexlo_job" 2>/dev/null || vexlo_status=$?
fi

echo "-- driver log:"
cat "$log"
echo "-- figures:"
printf '%s\n' "${figures[@]}"
echo "private bytes after 1 min: ${privates[1]} KiB; at the end: ${privates[-1]} KiB;" \
     "growth since the first minute: $((privates[-1] - privates[1])) KiB"
echo "Vexlo.exe exit status: $vexlo_status"
[ "$driver_status" -eq 0 ] || echo "soak: the driver reported a failure (exit code $driver_status)"
vexlo_session_stop
exit "$driver_status"
