#!/usr/bin/env bash
# with_display.sh DPI PROGRAM.exe [ARGS]: runs a Windows test program under Wine in a prefix of
# its own at the given DPI, on an X display: the current one, or else a new Xvfb with openbox.
dpi=$1
source "$(dirname "$0")/../../e2e/lib.sh" "$2"
source "$(dirname "$0")/../../e2e/wine_lib.sh"
shift 2
export WINEPREFIX=$(dirname "$APP")/wineprefix-windows-$dpi
[ -n "${DISPLAY:-}" ] || start_x
wine_restart
set_dpi "$dpi"
"$RUN" "$APP" "$@"
