#!/usr/bin/env bash
# with_display.sh DPI PROGRAM.exe [ARGS]: runs a Windows test program under Wine in a prefix of
# its own at the given DPI, on an X display: the current one, or else a new Xvfb with openbox.
set -uo pipefail
dpi=$1
exe=$(realpath "$2")
shift 2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
run=$here/../../../tools/wine-run.sh
export WINEPREFIX=$(dirname "$exe")/wineprefix-windows-$dpi WINEDEBUG=${WINEDEBUG:--all}
XVFB_PID= WM_PID=

cleanup() {
    # The server must not outlive the display its windows were on.
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 201 249); do
        [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] && continue
        Xvfb :$n -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        XVFB_PID=$!
        export DISPLAY=:$n
        for _ in $(seq 100); do
            xdpyinfo >/dev/null 2>&1 && break
            sleep 0.1
        done
        xdpyinfo >/dev/null 2>&1 && kill -0 "$XVFB_PID" 2>/dev/null && break
        kill "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    done
    [ -n "$XVFB_PID" ] || { echo "Xvfb did not start"; exit 1; }
    openbox >/dev/null 2>&1 &
    WM_PID=$!
    for _ in $(seq 100); do
        xprop -root _NET_WORKAREA 2>/dev/null | grep -q CARDINAL && break
        sleep 0.1
    done
fi

# A server left from another display would put the windows there.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
"$run" cmd /c exit 0 </dev/null >/dev/null 2>&1
/usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    </dev/null >/dev/null 2>&1
"$run" "$exe" "$@"
