#!/usr/bin/env bash
# Runs one libFuzzer target and sums up what it did.
#
#   run_target.sh <fuzzer> <seed folder> <work folder> [--keep-corpus] [--junit <xml>] [libFuzzer flags...]
#
# New inputs go to <work folder>/corpus (emptied first unless --keep-corpus,
# so that a fixed number of runs with a fixed seed repeats itself), findings
# (crash-*, leak-*, timeout-*, oom-*) to <work folder>/findings, the output
# to <work folder>/log. Prints one line: executions, executions per second,
# new inputs and findings. With --junit it also writes a GoogleTest-style
# report counting the target as one test. The exit status is the fuzzer's.
set -uo pipefail

fuzzer=$1 seeds=$2 work=$3
shift 3
keep_corpus="" junit=""
while [ $# -gt 0 ]; do
  case $1 in
    --keep-corpus) keep_corpus=1; shift ;;
    --junit) junit=$2; shift 2 ;;
    *) break ;;
  esac
done

name=$(basename "$fuzzer")
name=${name#fuzz_}
[ -n "$keep_corpus" ] || rm -rf "$work/corpus"
mkdir -p "$work/corpus" "$work/findings"
before=$(ls "$work/findings" | wc -l)

# A target may start without seeds.
corpora=("$work/corpus")
[ -d "$seeds" ] && corpora+=("$seeds")

started=$SECONDS
# A slow input is a finding too: nothing here should take seconds.
"$fuzzer" -print_final_stats=1 -timeout=10 -artifact_prefix="$work/findings/" "$@" "${corpora[@]}" >"$work/log" 2>&1
status=$?
seconds=$((SECONDS - started))

stat() { sed -n "s/^stat::$1: *//p" "$work/log" | tail -1; }
executions=$(stat number_of_executed_units)
per_second=$(stat average_exec_per_sec)
new_inputs=$(stat new_units_added)
findings=$(($(ls "$work/findings" | wc -l) - before))
echo "fuzz $name: ${executions:-?} executions, ${per_second:-?} exec/s, ${new_inputs:-?} new inputs," \
     "$findings findings, ${seconds} s, exit status $status"
if [ "$status" -ne 0 ]; then
  grep -m1 -E "invariant failed|ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error" "$work/log"
  echo "fuzz $name: findings in $work/findings, output in $work/log"
fi

if [ -n "$junit" ]; then
  escape() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g'; }
  failures=0 failure=""
  if [ "$status" -ne 0 ]; then
    failures=1
    message=$(grep -m1 -E "invariant failed|ERROR:|runtime error" "$work/log" || echo "exit status $status")
    failure="<failure message=\"$(echo "$message" | escape)\"><![CDATA[$(tail -40 "$work/log" | sed 's/]]>/]] >/g')]]></failure>"
  fi
  mkdir -p "$(dirname "$junit")"
  cat >"$junit" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<testsuites tests="1" failures="$failures" disabled="0" errors="0" time="$seconds" name="fuzz_$name">
  <testsuite name="Fuzz" tests="1" failures="$failures" disabled="0" skipped="0" errors="0" time="$seconds">
    <testcase name="$name" status="run" result="completed" time="$seconds" classname="Fuzz">$failure</testcase>
  </testsuite>
</testsuites>
XML
fi
exit "$status"
