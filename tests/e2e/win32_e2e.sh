#!/usr/bin/env bash
# The Windows build under Wine in Xvfb with openbox: restore, drag, saving at close and at logout,
# and the settings window.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wine_lib.sh"
start_x
wine_restart
set_dpi 96

check_glyphs close_app
check_restore_drag_save close_app
xdotool mousemove 300 310 mousedown 1 mousemove 340 310 mousemove 400 330 mouseup 1
xdotool mousemove 500 330 click 1
wait_for 3 sh -c "[ \"\$(xdotool getwindowfocus)\" = $WIN ]"
xdotool key ctrl+a type --delay 20 "typed at logout"
logout
check "a logout saves the text and place" "typed at logout|4800 4500" \
    "$(stored _文本内容)|$(stored _left) $(stored _top)"

check_red_from_settings Up Up Up Up
close_app
start_app
sleep 0.3
check "the next start draws it red again" yes "$(is_red)"
close_app
finish
