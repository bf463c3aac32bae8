#!/usr/bin/env bash
# Start-up, restore, drag and save of the prompt window, in Xvfb with openbox.
source "$(dirname "$0")/lib.sh"
start_x

echo "# first run"
fresh_store
start_app
check "first run stands at the top-left corner, 3000 x 705 twips" "0 0 200 47" "$(geometry "$WIN")"
check "no opacity on a first run" "no" \
    "$(xprop -id "$WIN" _NET_WM_WINDOW_OPACITY | grep -q CARDINAL && echo yes || echo no)"
stop_app TERM

echo "# seeded store"
fresh_store
seed _left 1500
seed _top 3000
seed _Width 6000
seed _Height 705
seed _文本框高度 900
seed _透明度 200
seed _文本内容 "中文提示"
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
check "SIGTERM ends the process" no "$(app_running && echo yes || echo no)"
check "SIGTERM saves the typed text" "typed at logout" "$(stored _文本内容)"
check "SIGTERM saves the left edge" 3300 "$(stored _left)"
check "SIGTERM saves the top edge" 4200 "$(stored _top)"
check "SIGTERM saves the width" 6000 "$(stored _Width)"
check "SIGTERM saves the height" 900 "$(stored _Height)"

echo "# opaque"
seed _透明度 255
start_app
check "alpha 255 sets no opacity" "no" \
    "$(xprop -id "$WIN" _NET_WM_WINDOW_OPACITY | grep -q CARDINAL && echo yes || echo no)"
check "the next start restores the dragged place" "220 280 400 60" "$(geometry "$WIN")"
stop_app INT
check "SIGINT saves as well" "typed at logout" "$(stored _文本内容)"

echo "# Chinese glyphs, not empty boxes"
# Boxes would look alike for any two characters; real glyphs differ.
for text in 一一一 田田田; do
    fresh_store
    seed _Width 6000
    seed _文本内容 "$text"
    start_app
    sleep 0.3 # let the first paint reach the screen
    screenshot "$WORK/$text.png"
    stop_app TERM
done
region=400x47+0+0
white_one=$(colour_share "$WORK/一一一.png" $region "#FFFFFF")
white_field=$(colour_share "$WORK/田田田.png" $region "#FFFFFF")
check "text is drawn in white" yes "$(awk -v a="$white_one" 'BEGIN{print (a > 0.003) ? "yes" : "no"}')"
check "different characters look different" yes \
    "$(awk -v a="$white_one" -v b="$white_field" 'BEGIN{print (b > a * 1.5) ? "yes" : "no"}')"

finish
