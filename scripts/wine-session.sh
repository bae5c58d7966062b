# Shared by run.sh, test.sh and measure-startup.sh (source it, do not run it).
#
# A Wine session is a private virtual X display plus a brand-new Wine prefix
# with its own home folder, so that a run never touches the real home, never
# meets a window or a wineserver of another run, and leaves nothing behind.
# Only the processes recorded here are ever stopped: the Xvfb by its PID and
# the wineserver of this run's own prefix.

VEXLO_XVFB_PID=""
VEXLO_RUN_DIR=""

# Picks a display number with no lock file and no socket and starts Xvfb on
# it. Two runs may race for the same number; the loser's Xvfb exits at once
# and the loop moves on.
vexlo_start_xvfb() {
  local n
  for n in $(seq 90 189); do
    [ -e "/tmp/.X$n-lock" ] && continue
    [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    VEXLO_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      if ! kill -0 "$VEXLO_XVFB_PID" 2>/dev/null; then
        VEXLO_XVFB_PID=""
        break
      fi
      if [ -S "/tmp/.X11-unix/X$n" ]; then
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.1
    done
    if [ -n "$VEXLO_XVFB_PID" ]; then
      kill "$VEXLO_XVFB_PID" 2>/dev/null
      wait "$VEXLO_XVFB_PID" 2>/dev/null
      VEXLO_XVFB_PID=""
    fi
  done
  echo "wine-session: could not start Xvfb on any display :90..:189" >&2
  return 1
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

# Safe to call more than once.
vexlo_session_stop() {
  if [ -n "$VEXLO_RUN_DIR" ] && [ -d "$VEXLO_RUN_DIR/prefix" ]; then
    WINEPREFIX="$VEXLO_RUN_DIR/prefix" wineserver -k >/dev/null 2>&1
    WINEPREFIX="$VEXLO_RUN_DIR/prefix" wineserver -w >/dev/null 2>&1
  fi
  if [ -n "$VEXLO_XVFB_PID" ]; then
    kill "$VEXLO_XVFB_PID" 2>/dev/null
    wait "$VEXLO_XVFB_PID" 2>/dev/null
    VEXLO_XVFB_PID=""
  fi
  if [ -n "$VEXLO_RUN_DIR" ] && [ -z "${VEXLO_KEEP_RUN_DIR:-}" ]; then
    rm -rf "$VEXLO_RUN_DIR"
  fi
  VEXLO_RUN_DIR=""
}
