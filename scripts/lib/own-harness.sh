# Sourced by the scripts that need the virtual screen: starts it when it is
# not running, and stops again what was started here when the script ends,
# also when it is interrupted (Ctrl+C, a kill, a failure half-way). A screen
# that was running before is left alone.
harness_script="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/harness"
harness_started_here=0
harness_cleanup() {
  local status=$?
  trap - EXIT INT TERM HUP
  # Helpers the script started (a window manager) go first.
  [ -n "${harness_helpers:-}" ] && kill $harness_helpers 2>/dev/null
  if [ "$harness_started_here" = 1 ]; then
    "$harness_script" stop >/dev/null 2>&1 || true
  fi
  exit $status
}
trap harness_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
if ! "$harness_script" status >/dev/null 2>&1; then
  harness_started_here=1
  "$harness_script" start </dev/null >/dev/null
fi
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
