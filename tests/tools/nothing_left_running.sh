#!/usr/bin/env bash
# scripts/run without a display starts a virtual screen and Wine itself; it
# must leave nothing of the project running when it ends, after a complete
# run and after one interrupted half-way. The tests' shared screen is stopped
# for this and started again at the end.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
log=$(mktemp)
trap '"$root/scripts/harness" start </dev/null >/dev/null 2>&1; rm -f "$log"' EXIT

# X servers, Wine and the programs of a run.
watched() {
  ps -eo pid=,args= | grep -E 'Xvfb|Xephyr|wineserver|wine(64)?-preloader|wine |\.exe|openbox|demo\.py' |
    grep -v -E 'grep|nothing_left_running' | awk '{print $1}' | sort
}
leftovers() {  # what is running now and was not before
  local left="" p
  for _ in $(seq 1 20); do
    left=$(comm -13 <(printf '%s\n' "$before") <(watched))
    [ -z "$left" ] && return 0
    sleep 0.5
  done
  for p in $left; do ps -o pid=,args= -p "$p"; done
  return 1
}

"$root/scripts/harness" stop >/dev/null 2>&1
sleep 1
before=$(watched)
status=0

if ! env -u DISPLAY "$root/scripts/run" >"$log" 2>&1; then
  echo "scripts/run failed:"; cat "$log"; status=1
fi
leftovers || { echo "left running after a complete run"; status=1; }

setsid env -u DISPLAY "$root/scripts/run" >"$log" 2>&1 &
run=$!
for _ in $(seq 1 120); do  # interrupted once the program runs
  pgrep -f 'kirasoe\.exe' >/dev/null && break
  sleep 0.5
done
sleep 1
kill -INT -- "-$run"
wait "$run"
leftovers || { echo "left running after an interrupted run"; cat "$log"; status=1; }

[ $status = 0 ] && echo "nothing left running: 2 passed, 0 failed"
exit $status
