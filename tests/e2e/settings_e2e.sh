#!/usr/bin/env bash
# Confirming appearance in the settings window: red text and a taller window, kept across runs.
source "$(dirname "$0")/lib.sh"
start_x

red_share() { screenshot "$WORK/r.png"; colour_share "$WORK/r.png" 200x40+0+3 "#FF0000"; }
is_red() { awk -v a="$(red_share)" 'BEGIN{print (a > 0.01) ? "yes" : "no"}'; }

fresh_store
seed _文本内容 "红字 Red"
start_app
check "the text starts white" no "$(is_red)"

choose_menu_item 60 20 0
wait_for 5 sh -c '[ "$(xdotool search --onlyvisible --name "^参数设置$" | wc -l)" = 1 ]'
SETTINGS=$(xdotool search --onlyvisible --name '^参数设置$' | head -n 1)
read -r sx sy _ _ <<<"$(geometry "$SETTINGS")"
at() { xdotool mousemove $((sx + $1)) $((sy + $2)) click 1; } # at X Y: click in the client area

echo "# choose 255 红色 for the text and confirm"
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

echo "# a height of 1006 twips"
at 110 122              # the height list's text
xdotool key ctrl+a
xdotool type --delay 20 1006
at 196 184              # 确认
wait_for 3 sh -c "[ \"\$(xwininfo -id $WIN | awk '/^  Height/{print \$2}')\" = 67 ]"
read -r _ _ _ h <<<"$(geometry "$WIN")"
check "the window is 1006 twips high" 67 "$h"
check "the store holds the height" 1006 "$(stored _文本框高度)"

echo "# exit and start again"
choose_menu_item 60 20 2
wait_for 10 sh -c "! kill -0 $APP_PID"
APP_PID=
check "the height is saved at exit too" 1006 "$(stored _Height)"
start_app
sleep 0.3
read -r _ _ _ h <<<"$(geometry "$WIN")"
check "the height comes back" 67 "$h"
check "the red text comes back" yes "$(is_red)"
stop_app TERM

finish
