#!/usr/bin/env bash
# Commands from another process, one prompt per user; without a session bus each start on its own.
source "$(dirname "$0")/lib.sh"
start_x
start_bus

active() { xprop -root _NET_ACTIVE_WINDOW | awk '{print $NF}'; }
run() { "$APP" "$@" 2>>"$WORK/client.log"; } # run ARGUMENTS...: a command; prints its output

run --get-text
check "no prompt running: --get-text exits 1 and says why" "1|kelm-prompt: 没有运行中的提示框 (no prompt is running)" \
    "$?|$(tail -n 1 "$WORK/client.log")"
# Qt would take this one for its option that counts widgets, and say so at the end.
start_app --text -widgetcount
check "a TEXT that is also an option of Qt's is only the prompt's" "-widgetcount" "$(run --get-text)"
run --quit
app_ends
check "and Qt never read it" "0 0" "$APP_STATUS $(grep -c 'Widgets left' "$WORK/app.log")"
start_app --text "从命令行启动"
check "--text starts the program showing the text" "从命令行启动" "$(run --get-text)"

echo "# commands to the running prompt leave the focus where it is"
xmessage -geometry 300x100+600+400 -title kelm-other other >/dev/null 2>&1 &
OTHER_PID=$!
wait_for 5 named kelm-other
xdotool windowactivate --sync "$(named kelm-other | head -n 1)"
wait_for 3 sh -c "[ \"\$(xprop -root _NET_ACTIVE_WINDOW | awk '{print \$NF}')\" != 0x0 ]"
focused=$(active)
run --text "第二个进程写的 text"
check "--text exits 0 once applied" "0|第二个进程写的 text" "$?|$(run --get-text)"
run --hide
check "--hide unmaps the window" IsUnMapped "$(mapped)"
run --toggle
check_geometry "--toggle shows it again at the same place and size" "0 0 200 47"
check "above others, still" yes "$(has_state "$WIN" _NET_WM_STATE_ABOVE)"
check "no command took the focus" "$focused" "$(active)"

run --lock
double_click
check "locked: a double-click leaves the text" "第二个进程写的 text" "$(run --get-text)"
run --unlock
double_click
check "unlocked: a double-click clears it" "" "$(run --get-text)"

echo "# a second start shows the first, unlocked, and ends"
run --text "只有一个"
run --lock; run --hide
"$APP" >>"$WORK/client.log" 2>&1
check "a plain second start exits 0, one prompt window, shown" "0 1 IsViewable" "$? $(prompts) $(mapped)"
double_click
check "the second start unlocked it" "" "$(run --get-text)"
gdbus call --session --dest io.github.kelm_prompt.prompt --object-path /io/github/kelm_prompt/prompt \
    --method io.github.kelm_prompt.Prompt.SetText "gdbus 也行" >/dev/null
check "gdbus reaches it too" "gdbus 也行" "$(run --get-text)"
refused=
for call in "SetLocked string:yes" "SetText" "SetText int32:7" "SetText string:a string:b" \
    "GetText string:x" "Nope" "Quit boolean:true"; do
    # shellcheck disable=SC2086 # the method and its arguments are split on purpose
    dbus-send --session --print-reply --dest=io.github.kelm_prompt.prompt \
        /io/github/kelm_prompt/prompt io.github.kelm_prompt.Prompt.$call >/dev/null 2>&1 || refused+=x
done
check "malformed calls are refused and change nothing" "xxxxxxx|gdbus 也行|IsViewable" \
    "$refused|$(run --get-text)|$(mapped)"

run --hide
run --quit
check "--quit exits 0" 0 "$?"
app_ends
check "the prompt ended and saved its text and place, hidden as it was" "0 gdbus 也行|0 0 3000 705" \
    "$APP_STATUS $(placed)"

echo "# a start while the prompt is ending, its save waiting for another copy, takes its place"
start_app
run --text "走之前存的"
hold_lock 3
run --quit &
QUIT_PID=$!
wait_for 5 sh -c '! xdotool search --onlyvisible --name "^Kelm屏幕提示框\$"' # gone, saving
first=$APP_PID
start_app
second=$APP_PID
wait "$QUIT_PID"
quit_status=$?
APP_PID=$first
app_ends
check "the ending prompt saved; the start runs, alone, and shows what was saved" \
    "0 0 running 1|走之前存的" \
    "$quit_status $APP_STATUS $(kill -0 "$second" && echo running) $(prompts)|$(run --get-text)"
APP_PID=$second
stop_app TERM

export DBUS_SESSION_BUS_ADDRESS=unix:path=$WORK/no-session-bus
start_app
first=$APP_PID
start_app
wait_for 10 sh -c '[ "$(xdotool search --onlyvisible --name "^Kelm屏幕提示框\$" | wc -l)" = 2 ]'
check "without a session bus, two starts show two windows" 2 "$(prompts)"
kill "$first"
stop_app TERM
kill "$OTHER_PID"
finish
