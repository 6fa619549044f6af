# Environment for running Kirasoe and its tests under Wine. Sourced by the
# scripts; sets ROOT, HARNESS_DIR, WINEPREFIX (by KIRASOE_DPI) and DISPLAY.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
HARNESS_DIR="$ROOT/build/harness"
KIRASOE_DPI="${KIRASOE_DPI:-96}"
export WINEPREFIX="$ROOT/build/wine/dpi$KIRASOE_DPI"
# The prefixes at other scales have a screen of their own, so that their
# tests run beside those at 96 dpi.
display_file="$HARNESS_DIR/display"
[ "$KIRASOE_DPI" = 96 ] || display_file="$HARNESS_DIR/display-scaled"
# KIRASOE_MONITORS=2: the screen with two monitors and its own prefix.
if [ "${KIRASOE_MONITORS:-1}" = 2 ]; then
  export WINEPREFIX="$ROOT/build/wine/multi"
  display_file="$HARNESS_DIR/display-multi"
fi
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Japanese locale: the ANSI code page inside Wine is 932, as on the target systems.
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
if [ -f "$display_file" ]; then
  DISPLAY="$(cat "$display_file")"
  export DISPLAY
fi
