#!/usr/bin/env bash
# The program's end when the settings file cannot be saved, an odd settings file, a very long
# text, no display, and the X server going away under the program.
source "$(dirname "$0")/lib.sh"
start_x

echo "# a save refused at SIGTERM ends the program without waiting on anyone"
fresh_store
seed _文本内容 "以前的"
cp "$STORE" "$WORK/before.conf"
mkdir "$STORE.lock" # a lock nobody can take
start_app
stop_app TERM
check "SIGTERM ends the process with a failure status" 1 "$APP_STATUS"
check "the refusal is written to stderr" yes \
    "$(grep -q '无法保存设置' "$WORK/app.log" && echo yes || echo no)"
check "the settings file is untouched" same "$(cmp -s "$STORE" "$WORK/before.conf" && echo same)"

echo "# 退出 shows the refusal; a signal meanwhile ends it without a second box"
start_app
choose_menu_item 60 20 2
wait_for 5 sh -c '[ "$(xdotool search --onlyvisible --name "^Kelm屏幕提示框$" | wc -l)" = 2 ]'
check "the refusal is shown in a box" 2 "$(visible_windows_named Kelm屏幕提示框)"
kill -TERM "$APP_PID"
kill -TERM "$APP_PID"
app_ends
check "the signals end the process with a failure status" 1 "$APP_STATUS"
rmdir "$STORE.lock"

echo "# killed in the middle of a save, just before the new file replaces the old one"
fresh_store
seed _文本内容 "以前的"
cp "$STORE" "$WORK/before.conf"
program=$APP
APP=$(command -v strace)
start_app -f -qq -o /dev/null -e trace=rename -e inject=rename:signal=SIGKILL "$program"
APP=$program
pkill -TERM -P "$APP_PID"
app_ends
check "the old settings file is whole and unchanged" same \
    "$(cmp -s "$STORE" "$WORK/before.conf" && echo same)"
start_app
xdotool mousemove 100 20 click 1 key ctrl+a type "after"
sleep 0.5 # the typed text reaches the program before the signal
stop_app TERM
check "the next save succeeds over what the kill left" "0 after" "$APP_STATUS $(stored _文本内容)"
check "and leaves nothing behind" "PUPNAME.conf" "$(ls "$XDG_CONFIG_HOME")"

echo "# a FIFO in place of the settings file"
rm -f "$STORE"
mkfifo "$STORE"
start_app
check "starts with the defaults" "0 0 200 47" "$(geometry "$WIN")"
stop_app TERM
check "ends with a failure status, the save refused" 1 "$APP_STATUS"
check "the FIFO is left as it was" yes "$([ -p "$STORE" ] && echo yes || echo no)"

echo "# a text longer than 32767 characters survives an edit"
fresh_store
seed _文本内容 "$(head -c 40000 /dev/zero | tr '\0' 'a')"
start_app
xdotool mousemove 100 20 click 1 key End type z
sleep 0.5 # the typed letter reaches the program before the signal
stop_app TERM
check "the whole text and the typed letter are saved" 40001 "$(stored _文本内容 | tr -d '\n' | wc -c)"

echo "# no display"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$APP" 2>&1)
check "exits with status 1" 1 "$?"
check "says so in one line" 1 "$(printf '%s\n' "$out" | wc -l)"

echo "# the X server goes away under the program"
fresh_store
start_app
xdotool mousemove 100 20 click 1 key ctrl+a type "before the crash"
sleep 0.5 # the typed text reaches the program
kill "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null
XVFB_PID=
app_ends
check "the program ends without a crash" 1 "$APP_STATUS"
check "what was typed is saved" "before the crash" "$(stored _文本内容)"

finish
