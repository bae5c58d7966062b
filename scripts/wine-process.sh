# Shared by measure-startup.sh and soak.sh (source it, do not run it): the
# Linux side of a Windows program running in this run's Wine prefix.

# The Linux process of a Windows program started in this run's prefix.
linux_pid_of() {
  local exe=$1 pid
  for pid in $(pgrep -f "$exe" || true); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"
      return 0
    fi
  done
  return 1
}

# "private working-set" in KiB. Private bytes as Windows counts them: the
# process's own anonymous memory and the file pages it has written to; clean
# pages of mapped files (the CJK font, the theme) are shareable and are not
# counted. The working set is the resident set.
memory_of() {
  local pid=$1
  local private rss
  private=$(awk '/^[0-9a-f]+-[0-9a-f]+ / { file = ($6 != "" && $6 !~ /^\[/) }
                 /^Private_Dirty:/ { s += $2 }
                 /^Private_Clean:/ { if (!file) s += $2 }
                 END { print s }' "/proc/$pid/smaps")
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
  echo "$private $rss"
}
