#!/usr/bin/env bash
# The Windows build under Wine: start-up, restore, drag, saving at close and at logout, and the
# settings window, in Xvfb with openbox.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wine_lib.sh"
start_x
wine_restart

type_at() { # type_at X Y TEXT: clicks the text box there, waits for the focus, replaces the text
    xdotool mousemove "$1" "$2" click 1
    wait_for 3 sh -c "[ \"\$(xdotool getwindowfocus)\" = $WIN ]"
    xdotool key ctrl+a
    xdotool type --delay 20 "$3"
}
surface_is() { # surface_is GEOMETRY COLOUR: whether nearly all of that region has the colour
    screenshot "$WORK/s.png"
    above "$(colour_share "$WORK/s.png" "$1" "$2")" 0.9
}

echo "# first run"
fresh_store
set_dpi 96
start_app
check "first run stands at the top-left corner, 3000 x 705 twips" "0 0 200 47" "$(geometry "$WIN")"
check "no taskbar entry" yes "$(has_state "$WIN" _NET_WM_STATE_SKIP_TASKBAR)"
check "no opacity on a first run" no "$(translucent "$WIN")"
sleep 0.3
check "the surface is dark grey" yes "$(surface_is 200x5+0+0 "#404040")"
close_app

echo "# Chinese glyphs, not empty boxes"
check_glyphs close_app

echo "# seeded registry"
fresh_store
seed_place
seed _背景颜色 128
start_app
check "restored at its stored place and size" "100 200 400 60" "$(geometry "$WIN")"
check "above normal windows" yes "$(has_state "$WIN" _NET_WM_STATE_ABOVE)"
check "translucent with alpha 200" "_NET_WM_WINDOW_OPACITY(CARDINAL) = $((0xC8C8C8C8))" \
    "$(xprop -id "$WIN" _NET_WM_WINDOW_OPACITY)"
check "the stored background colour (dark red)" yes "$(surface_is 400x5+100+200 "#800000")"

xdotool mousemove 200 230 mousedown 1 mousemove 260 270 mousemove 320 310 mouseup 1
xdotool mousemove 600 600 # the window must stay where the drag left it
sleep 0.3
check "a drag by (120, 80) moves the window by exactly that" "220 280 400 60" "$(geometry "$WIN")"

type_at 300 310 "typed then closed"
close_app
check "WM_CLOSE saves the text, place and size" "typed then closed|3300 4200 6000 900" \
    "$(stored _文本内容)|$(stored _left) $(stored _top) $(stored _Width) $(stored _Height)"

start_app
check "the next start restores the dragged place" "220 280 400 60" "$(geometry "$WIN")"
xdotool mousemove 300 310 mousedown 1 mousemove 340 310 mousemove 400 330 mouseup 1
type_at 500 330 "typed at logout"
logout
check "a logout saves the text and place" "typed at logout|4800 4500" \
    "$(stored _文本内容)|$(stored _left) $(stored _top)"

echo "# at 144 pixels per inch"
wine_restart
fresh_store
set_dpi 144
seed _left 1500
seed _Width 6000
start_app
check "twips follow the screen's DPI (10 per pixel)" "150 0 600 71" "$(geometry "$WIN")"
close_app
set_dpi 96
wine_restart

echo "# the settings window: 255 红色"
fresh_store
seed _文本内容 "红字 Red"
start_app
check "the text starts white" no "$(is_red)"
open_settings
check "settings window has no taskbar entry" yes "$(has_state "$SETTINGS" _NET_WM_STATE_SKIP_TASKBAR)"
at 100 66               # the font-colour list's text
xdotool key alt+Down    # open its drop-down
sleep 0.3
xdotool key Up Up Up Up Return # up to the first entry, 255 红色
at 196 184              # 确认
sleep 0.3
check "the registry holds the red colour" 255 "$(stored _字体颜色)"
check "the text is drawn red" yes "$(is_red)"
close_app
start_app
sleep 0.3
check "the next start draws it red again" yes "$(is_red)"
close_app

finish
