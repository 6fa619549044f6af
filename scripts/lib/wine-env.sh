# Environment for running Kirasoe and its tests under Wine. Sourced by the
# scripts; sets ROOT, HARNESS_DIR, WINEPREFIX (by KIRASOE_DPI) and DISPLAY.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
HARNESS_DIR="$ROOT/build/harness"
KIRASOE_DPI="${KIRASOE_DPI:-96}"
export WINEPREFIX="$ROOT/build/wine/dpi$KIRASOE_DPI"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Japanese locale: the ANSI code page inside Wine is 932, as on the target systems.
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
if [ -f "$HARNESS_DIR/display" ]; then
  DISPLAY="$(cat "$HARNESS_DIR/display")"
  export DISPLAY
fi
