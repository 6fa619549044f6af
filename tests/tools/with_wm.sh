#!/usr/bin/env bash
# Runs a command with a window manager on the harness's screen, as on any
# desktop: without one Wine waits about a second for every window it hides.
source "$(dirname "$0")/../../scripts/lib/wine-env.sh"
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1
"$@"
status=$?
kill $wm 2>/dev/null
wait $wm 2>/dev/null
exit $status
