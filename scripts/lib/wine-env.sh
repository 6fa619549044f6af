# Environment for running Kirasoe and its tests under Wine. Sourced by the
# scripts; sets ROOT, HARNESS_DIR, WINEPREFIX (by KIRASOE_DPI) and DISPLAY.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
HARNESS_DIR="$ROOT/build/harness"
KIRASOE_DPI="${KIRASOE_DPI:-96}"
# KIRASOE_LANE=b: a second screen and prefix of the same scale (96 or 120
# dpi), so that twice as many tests run side by side.
lane=""
[ "${KIRASOE_LANE:-}" = b ] && lane=b
export WINEPREFIX="$ROOT/build/wine/dpi$KIRASOE_DPI$lane"
# The prefixes at other scales have a screen of their own, so that their
# tests run beside those at 96 dpi.
display_file="$HARNESS_DIR/display${lane:+-$lane}"
[ "$KIRASOE_DPI" = 96 ] || display_file="$HARNESS_DIR/display-scaled${lane:+-$lane}"
# KIRASOE_LOCALE=english: a Windows whose language is not Japanese, with its
# own prefix on the second screen.
if [ "${KIRASOE_LOCALE:-}" = english ]; then
  export WINEPREFIX="$ROOT/build/wine/english"
  display_file="$HARNESS_DIR/display-scaled"
fi
# KIRASOE_MONITORS=2: the screen with two monitors and its own prefix.
if [ "${KIRASOE_MONITORS:-1}" = 2 ]; then
  export WINEPREFIX="$ROOT/build/wine/multi"
  display_file="$HARNESS_DIR/display-multi"
fi
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Japanese locale: the ANSI code page inside Wine is 932, as on the target systems.
wine_lang=ja_JP.UTF-8
[ "${KIRASOE_LOCALE:-}" = english ] && wine_lang=C.UTF-8
export LANG=$wine_lang
export LC_ALL=$wine_lang
if [ -f "$display_file" ]; then
  DISPLAY="$(cat "$display_file")"
  export DISPLAY
fi
