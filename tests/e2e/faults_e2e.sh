#!/usr/bin/env bash
# Saves that cannot be made, odd settings files, a long text, no display, the X server killed.
source "$(dirname "$0")/lib.sh"
start_x
same_as_before() { yes_if cmp -s "$STORE" "$WORK/before.conf"; }

echo "# no XDG_RUNTIME_DIR (sudo, su, cron)"
saved_runtime=${XDG_RUNTIME_DIR-}
unset XDG_RUNTIME_DIR
export QT_MESSAGE_PATTERN="qt-said %{type}: %{message}"
fresh_store
: >"$WORK/app.log"
start_app
xdotool mousemove 100 20 click 1 key ctrl+a type "saved without it"
sleep 0.5 # the typed text reaches the program before the signal
stop_app TERM
check "Qt's start-up warning is passed on once, in Qt's own format" 1 \
    "$(grep -c '^qt-said warning: .*XDG_RUNTIME_DIR' "$WORK/app.log")"
check "and the save went through" "0 saved without it" "$APP_STATUS $(stored _文本内容)"
unset QT_MESSAGE_PATTERN
[ -n "$saved_runtime" ] && export XDG_RUNTIME_DIR=$saved_runtime

echo "# a lock nobody can take: a copy that keeps it, then a folder in its place"
fresh_store
seed _文本内容 "以前的"
cp "$STORE" "$WORK/before.conf"
start_app
hold_lock 30
kill -TERM "$APP_PID"
wait_for 20 sh -c "! kill -0 $APP_PID" # the save gives up after some ten seconds
app_ends
check "SIGTERM fails, says so, leaves the file" "1 yes yes" \
    "$APP_STATUS $(yes_if grep -q 无法保存设置 "$WORK/app.log") $(same_as_before)"
kill "$HOLDER_PID"
wait "$HOLDER_PID" 2>/dev/null
rm "$STORE.lock"
mkdir "$STORE.lock"
start_app
choose_menu_item 60 20 2
box_alone() { # the one window with the program's title is a dialog: the prompt has gone
    local w
    w=$(named Kelm屏幕提示框)
    [ "$(echo "$w" | wc -w)" = 1 ] && xprop -id "$w" _NET_WM_WINDOW_TYPE | grep -q DIALOG
}
check "the refusal is shown in a box, the prompt already gone" yes "$(yes_if wait_for 5 box_alone)"
kill -TERM "$APP_PID"
kill -TERM "$APP_PID"
app_ends
check "the signals end the process with a failure status" 1 "$APP_STATUS"
rmdir "$STORE.lock"

echo "# a private settings file, the save killed as it writes its copy and just before it replaces it"
chmod 600 "$STORE"
cp -p "$STORE" "$WORK/before.conf"
store=$(realpath "$STORE")
mask=$(umask)
for step in "$store.new.1 write" "$store.new.2 fsync"; do
    read -r path call <<<"$step"
    umask 000
    APP=$(command -v strace) start_app -f -qq -o /dev/null -P "$path" -e trace="$call" \
        -e inject="$call":signal=SIGKILL "$APP"
    umask "$mask"
    pkill -TERM -P "$APP_PID"
    app_ends
    check "killed at the first $call of ${path##*/}: the old file whole, nothing readable by others" \
        "yes " "$(same_as_before) $(find "$XDG_CONFIG_HOME" -type f ! -name '*.lock' -perm /077 -printf '%f ')"
done

rm -f "$STORE"
mkfifo "$STORE"
start_app
stop_app TERM
check "a FIFO for the settings file: starts, refuses the save, leaves the FIFO" "1 yes" "$APP_STATUS $(yes_if test -p "$STORE")"

fresh_store
seed _文本内容 "$(head -c 40000 /dev/zero | tr '\0' 'a')"
start_app
xdotool mousemove 100 20 click 1 key End type z
sleep 0.5 # the typed text reaches the program before the signal
stop_app TERM
check "a text of 40000 characters and the letter typed are saved whole" 40001 "$(stored _文本内容 | tr -d '\n' | wc -c)"

out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$APP" 2>&1)
check "no display: exits 1, saying so in one line" "1 1" "$? $(printf '%s\n' "$out" | wc -l)"

fresh_store
start_app
xdotool mousemove 100 20 click 1 key ctrl+a type "before the crash"
sleep 0.5 # the typed text reaches the program
kill "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null
XVFB_PID=
app_ends
check "the X server killed: ends without a crash, saving what was typed" "1 before the crash" "$APP_STATUS $(stored _文本内容)"
finish
