#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Without a display it runs the program
# on a virtual one, saves build/screenshot.png once the window is up, and ends it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup-debian.sh
bash tools/build.sh build -DKELM_TESTS=OFF -DKELM_SANITIZE=OFF
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec ./build/kelm-prompt
fi
for n in $(seq 161 199); do [ -e /tmp/.X$n-lock ] || break; done
Xvfb :$n -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:$n
trap 'kill $app $wm $xvfb 2>/dev/null; wait 2>/dev/null' EXIT
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
openbox >/dev/null 2>&1 &
wm=$!
# A window mapped before openbox has finished starting may never be managed.
for _ in $(seq 200); do xprop -root _NET_WORKAREA 2>/dev/null | grep -q CARDINAL && break; sleep 0.05; done
./build/kelm-prompt &
app=$!
for _ in $(seq 200); do
    xdotool search --onlyvisible --name '^Kelm屏幕提示框$' >/dev/null 2>&1 && break
    sleep 0.05
done
sleep 0.3 # the first paint
import -window root build/screenshot.png
kill -TERM $app
wait $app || true
echo "No display here: ran kelm-prompt on the virtual display $DISPLAY, saved build/screenshot.png, and ended it."
