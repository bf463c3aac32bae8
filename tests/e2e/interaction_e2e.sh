#!/usr/bin/env bash
# The mouse on the prompt window, the context menu, confirming red text and a taller window in the
# settings window, the About window, and exit, with what it saved restored at the next start.
source "$(dirname "$0")/lib.sh"
start_x

fresh_store
seed _文本内容 "红字 Red"
start_app
check "the text starts white" no "$(is_red)"

echo "# widening by the right edge"
width_is() { wait_for 3 sh -c "[ \"\$(xwininfo -id $WIN | awk '/^  Width/{print \$2}')\" = $1 ]"; }
xdotool mousemove 199 20 mousedown 1 mousemove 250 20 mousemove 300 20 mouseup 1
width_is 300
check "the right edge follows the pointer, the left edge stays" "0 0 300 47" "$(geometry "$WIN")"
xdotool mousemove 299 20 mousedown 1 mousemove 100 20 mouseup 1
width_is 200
check "never narrower than 3000 twips" "0 0 200 47" "$(geometry "$WIN")"
xdotool mousemove 199 20 mousedown 1 mousemove 250 20 mousemove 330 20 mouseup 1
width_is 330

echo "# the settings window: 255 红色, then a height of 1006 twips"
open_settings
check "settings window has no taskbar entry" yes "$(has_state "$SETTINGS" _NET_WM_STATE_SKIP_TASKBAR)"
at 100 66               # the font-colour list's text
xdotool key alt+Down    # open its drop-down
sleep 0.3
xdotool key Home Return # the first entry, 255 红色
at 196 184              # 确认
sleep 0.3
check "the store holds the red colour" 255 "$(stored _字体颜色)"
check "the text is drawn red" yes "$(is_red)"
check "the other values are stored too" "14.5 微软雅黑 4210752 705 255" \
    "$(stored _字体大小) $(stored _字体名称) $(stored _背景颜色) $(stored _文本框高度) $(stored _透明度)"
at 110 122              # the height list's text
xdotool key ctrl+a
xdotool type --delay 20 1006
at 196 184              # 确认
wait_for 3 sh -c "[ \"\$(xwininfo -id $WIN | awk '/^  Height/{print \$2}')\" = 67 ]"
check "the window is 1006 twips high" "0 0 330 67" "$(geometry "$WIN")"
check "the store holds the height" 1006 "$(stored _文本框高度)"

echo "# the About window"
choose_menu_item 60 20 1
wait_for 5 sh -c '[ "$(xdotool search --onlyvisible --name "^关于作者$" | wc -l)" = 1 ]'
ABOUT=$(xdotool search --onlyvisible --name '^关于作者$' | head -n 1)
check "About window has a taskbar entry" no "$(has_state "$ABOUT" _NET_WM_STATE_SKIP_TASKBAR)"

echo "# double-click clears, and again restores"
text_share() { screenshot "$WORK/t.png"; colour_share "$WORK/t.png" 320x50+5+9 "#FF0000"; }
before=$(text_share)
xdotool mousemove 150 30 click --repeat 2 --delay 80 1
sleep 0.3
cleared=$(text_share)
xdotool mousemove 150 30 click --repeat 2 --delay 80 1
sleep 0.3
check "text is shown at first" yes "$(above "$before" 0.005)"
check "a double-click empties the box" no "$(above "$cleared" 0.001)"
check "a second double-click brings the text back" "$before" "$(text_share)"
check "double-clicks do not move the window" "0 0 330 67" "$(geometry "$WIN")"

echo "# exit"
choose_menu_item 60 20 2
app_ends
check "退出 ends the process" 0 "$APP_STATUS"
check "the text, place and size are saved" "红字 Red|0 0 4950 1006" \
    "$(stored _文本内容)|$(stored _left) $(stored _top) $(stored _Width) $(stored _Height)"

start_app
sleep 0.3
check "the next start restores the size" "0 0 330 67" "$(geometry "$WIN")"
check "the red text comes back" yes "$(is_red)"
stop_app TERM

finish
