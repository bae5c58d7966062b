#!/bin/sh
# Runs a Windows program ("$@") under Wine on the two-monitor display and
# prefix that scripts/test.sh starts (vexlo_two_monitors_start in
# wine-session.sh): the end-to-end tests that need two monitors run this way.
if [ -z "${VEXLO_TWO_MONITOR_DISPLAY:-}" ] || [ -z "${VEXLO_TWO_MONITOR_PREFIX:-}" ]; then
  echo "on-two-monitors.sh: no two-monitor display; run the tests through scripts/test.sh" >&2
  exit 1
fi
DISPLAY=$VEXLO_TWO_MONITOR_DISPLAY WINEPREFIX=$VEXLO_TWO_MONITOR_PREFIX exec wine "$@"
