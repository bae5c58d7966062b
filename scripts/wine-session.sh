# Shared by run.sh, test.sh and measure-startup.sh (source it, do not run it).
#
# A Wine session is a private virtual X display plus a brand-new Wine prefix
# with its own home folder, so that a run never touches the real home, never
# meets a window or a wineserver of another run, and leaves nothing behind.
# Only the processes recorded here are ever stopped: the Xvfb by its PID and
# the wineserver of this run's own prefix.

VEXLO_XVFB_PID=""
VEXLO_RUN_DIR=""
VEXLO_HOST_XVFB_PID=""
VEXLO_XEPHYR_PID=""

# Starts an X server ("$@", its command without the display) on a display
# number with no lock file and no socket, and sets VEXLO_X_PID and
# VEXLO_X_DISPLAY. Two runs may race for the same number; the loser's server
# exits at once and the loop moves on.
vexlo_start_x_server() {
  local n i pid
  VEXLO_X_PID=""
  VEXLO_X_DISPLAY=""
  for n in $(seq 90 189); do
    [ -e "/tmp/.X$n-lock" ] && continue
    [ -e "/tmp/.X11-unix/X$n" ] && continue
    "$@" ":$n" >/dev/null 2>&1 &
    pid=$!
    for i in $(seq 1 100); do
      if ! kill -0 "$pid" 2>/dev/null; then
        pid=""
        break
      fi
      if [ -S "/tmp/.X11-unix/X$n" ]; then
        VEXLO_X_PID=$pid
        VEXLO_X_DISPLAY=":$n"
        return 0
      fi
      sleep 0.1
    done
    if [ -n "$pid" ]; then
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
    fi
  done
  echo "wine-session: could not start $1 on any display :90..:189" >&2
  return 1
}

vexlo_start_xvfb() {
  vexlo_start_x_server Xvfb -screen 0 1280x800x24 -nolisten tcp || return 1
  VEXLO_XVFB_PID=$VEXLO_X_PID
  export DISPLAY=$VEXLO_X_DISPLAY
}

# Makes the run folder with its own home and prefix. HOME must be set before
# wineboot: the prefix links Desktop, Documents and the like into $HOME.
vexlo_make_prefix() {
  VEXLO_RUN_DIR=$(mktemp -d "${TMPDIR:-/tmp}/vexlo-run.XXXXXX") || return 1
  export HOME="$VEXLO_RUN_DIR/home"
  export XDG_DATA_HOME="$HOME/.local/share"
  export XDG_CONFIG_HOME="$HOME/.config"
  export XDG_CACHE_HOME="$HOME/.cache"
  export XDG_RUNTIME_DIR="$VEXLO_RUN_DIR/runtime"
  mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  export WINEPREFIX="$VEXLO_RUN_DIR/prefix"
  export LANG=zh_CN.UTF-8
  unset LC_ALL LANGUAGE
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # The media player plays only when ALSA has a device; a null one keeps the
  # machine silent (and plays about four times faster than real time).
  printf 'pcm.!default { type null }\n' >"$VEXLO_RUN_DIR/alsa.conf"
  export ALSA_CONFIG_PATH="$VEXLO_RUN_DIR/alsa.conf"
  local started=$SECONDS
  # The "wine32 is missing" banner is harmless; keep the log for failures.
  if ! { wineboot -i && wineserver -w; } >"$VEXLO_RUN_DIR/wineboot.log" 2>&1; then
    echo "wine-session: wineboot failed, see $VEXLO_RUN_DIR/wineboot.log" >&2
    return 1
  fi
  echo "wine-session: prefix ready in $((SECONDS - started)) s at $WINEPREFIX" >&2
}

# Starts Xvfb (only when asked to, or when there is no display) and a fresh
# prefix, and arranges for both to be stopped when the calling script exits.
vexlo_session_start() {
  trap vexlo_session_stop EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  if [ -z "${DISPLAY:-}" ] || [ "${1:-}" = "--private-display" ]; then
    vexlo_start_xvfb || return 1
  fi
  vexlo_make_prefix || return 1
}

# Two monitors for the tests that need them, beside the session's display:
# Xephyr with two screens joined by Xinerama (RandR off, or Wine sees one
# monitor) on an Xvfb host large enough for both, and a prefix of its own,
# since a wineserver keeps the monitors of the display it started on. Wine
# then sees 1280 x 800 (primary) and 1024 x 768 right of it. Sets
# VEXLO_TWO_MONITOR_DISPLAY and VEXLO_TWO_MONITOR_PREFIX; call it after
# vexlo_session_start, whose stop ends these too.
vexlo_two_monitors_start() {
  vexlo_start_x_server Xvfb -screen 0 2304x800x24 -nolisten tcp || return 1
  VEXLO_HOST_XVFB_PID=$VEXLO_X_PID
  vexlo_start_x_server env DISPLAY="$VEXLO_X_DISPLAY" Xephyr +xinerama -extension RANDR \
    -screen 1280x800x24 -screen 1024x768x24 -nolisten tcp || return 1
  VEXLO_XEPHYR_PID=$VEXLO_X_PID
  export VEXLO_TWO_MONITOR_DISPLAY=$VEXLO_X_DISPLAY
  export VEXLO_TWO_MONITOR_PREFIX="$VEXLO_RUN_DIR/two-monitor-prefix"
  if ! DISPLAY=$VEXLO_TWO_MONITOR_DISPLAY WINEPREFIX=$VEXLO_TWO_MONITOR_PREFIX \
    timeout 180 sh -c 'wineboot -i && wineserver -w' >"$VEXLO_RUN_DIR/wineboot-two-monitors.log" 2>&1; then
    echo "wine-session: wineboot on two monitors failed, see $VEXLO_RUN_DIR/wineboot-two-monitors.log" >&2
    return 1
  fi
}

vexlo_stop_pid() {
  [ -n "$1" ] || return 0
  kill "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}

# Safe to call more than once.
vexlo_session_stop() {
  local prefix
  for prefix in "$VEXLO_RUN_DIR/prefix" "$VEXLO_RUN_DIR/two-monitor-prefix"; do
    [ -n "$VEXLO_RUN_DIR" ] && [ -d "$prefix" ] || continue
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1
  done
  vexlo_stop_pid "$VEXLO_XVFB_PID"
  vexlo_stop_pid "$VEXLO_XEPHYR_PID"
  vexlo_stop_pid "$VEXLO_HOST_XVFB_PID"
  VEXLO_XVFB_PID=""
  VEXLO_XEPHYR_PID=""
  VEXLO_HOST_XVFB_PID=""
  if [ -n "$VEXLO_RUN_DIR" ] && [ -z "${VEXLO_KEEP_RUN_DIR:-}" ]; then
    rm -rf "$VEXLO_RUN_DIR"
  fi
  VEXLO_RUN_DIR=""
}
