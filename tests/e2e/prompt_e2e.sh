#!/usr/bin/env bash
# Start-up, restore, drag and save of the prompt window, in Xvfb with openbox.
source "$(dirname "$0")/lib.sh"
start_x

echo "# first run"
fresh_store
start_app
check "first run stands at the top-left corner, 3000 x 705 twips" "0 0 200 47" "$(geometry "$WIN")"
check "no opacity on a first run" no "$(translucent "$WIN")"
stop_app TERM

echo "# seeded store"
fresh_store
seed_place
start_app
check "restored at its stored place and size" "100 200 400 60" "$(geometry "$WIN")"
check "above normal windows" yes "$(has_state "$WIN" _NET_WM_STATE_ABOVE)"
check "no taskbar entry" yes "$(has_state "$WIN" _NET_WM_STATE_SKIP_TASKBAR)"
check "translucent with alpha 200" "_NET_WM_WINDOW_OPACITY(CARDINAL) = $((0xC8C8C8C8))" \
    "$(xprop -id "$WIN" _NET_WM_WINDOW_OPACITY)"

xdotool mousemove 200 230 mousedown 1 mousemove 320 310 mouseup 1
wait_for 3 sh -c "[ \"\$(xwininfo -id $WIN | awk '/Absolute upper-left X/{print \$4}')\" = 220 ]"
check "a drag by (120, 80) moves the window by exactly that" "220 280 400 60" "$(geometry "$WIN")"

xdotool mousemove 300 310 click 1
xdotool key ctrl+a
xdotool type --delay 20 "typed at logout"
stop_app TERM
check "SIGTERM ends the process" no "$(yes_if app_running)"
check "SIGTERM saves the text, place and size" "typed at logout|3300 4200 6000 900" \
    "$(stored _文本内容)|$(stored _left) $(stored _top) $(stored _Width) $(stored _Height)"

start_app
check "the next start restores the dragged place" "220 280 400 60" "$(geometry "$WIN")"
xdotool mousemove 300 310 click 1 key End type "!"
sleep 0.3 # the typed letter reaches the program before the signal
stop_app INT
check "SIGINT saves as well" "typed at logout!" "$(stored _文本内容)"

echo "# Chinese glyphs, not empty boxes"
check_glyphs stop_app TERM

finish
