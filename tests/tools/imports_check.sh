#!/bin/sh
# The program and its image library must start on a bare Windows: they may
# import only DLLs that every Windows has, nothing of the build's own runtime.
set -eu
allowed=' advapi32.dll comctl32.dll comdlg32.dll dwmapi.dll gdi32.dll kernel32.dll msvcrt.dll user32.dll '
status=0
for f in "$@"; do
  for dll in $(x86_64-w64-mingw32-objdump -p "$f" | awk '/DLL Name:/ {print tolower($3)}'); do
    case "$allowed" in
      *" $dll "*) ;;
      *) echo "$(basename "$f") imports $dll"; status=1 ;;
    esac
  done
done
exit $status
