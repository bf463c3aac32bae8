#!/usr/bin/env bash
# The Windows build under Wine: start-up, restore, drag, saving at close and at logout, and the
# settings window, in Xvfb with openbox.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wine_lib.sh"
start_x
wine_restart

opacity() { xprop -id "$1" _NET_WM_WINDOW_OPACITY; }
type_at() { # type_at X Y TEXT: clicks the text box there, waits for the focus, replaces the text
    xdotool mousemove "$1" "$2" click 1
    wait_for 3 sh -c "[ \"\$(xdotool getwindowfocus)\" = $WIN ]"
    xdotool key ctrl+a
    xdotool type --delay 20 "$3"
}

echo "# first run"
fresh_store
set_dpi 96
start_app
check "first run stands at the top-left corner, 3000 x 705 twips" "0 0 200 47" "$(geometry "$WIN")"
check "no taskbar entry" yes "$(has_state "$WIN" _NET_WM_STATE_SKIP_TASKBAR)"
check "no opacity on a first run" no "$(opacity "$WIN" | grep -q CARDINAL && echo yes || echo no)"
sleep 0.3
screenshot "$WORK/first.png"
check "the surface is dark grey" yes \
    "$(awk -v a="$(colour_share "$WORK/first.png" 200x5+0+0 "#404040")" 'BEGIN{print (a > 0.9) ? "yes" : "no"}')"
close_app

echo "# Chinese glyphs, not empty boxes"
for text in 一一一 田田田; do
    fresh_store
    seed _Width 6000
    seed _文本内容 "$text"
    start_app
    sleep 0.3
    screenshot "$WORK/$text.png"
    close_app
done
white_one=$(colour_share "$WORK/一一一.png" 400x47+0+0 "#FFFFFF")
white_field=$(colour_share "$WORK/田田田.png" 400x47+0+0 "#FFFFFF")
check "text is drawn in white" yes "$(awk -v a="$white_one" 'BEGIN{print (a > 0.003) ? "yes" : "no"}')"
check "different characters look different" yes \
    "$(awk -v a="$white_one" -v b="$white_field" 'BEGIN{print (b > a * 1.5) ? "yes" : "no"}')"

echo "# seeded registry"
fresh_store
seed _left 1500
seed _top 3000
seed _Width 6000
seed _Height 705
seed _文本框高度 900
seed _透明度 200
seed _背景颜色 128
seed _文本内容 "中文提示"
start_app
check "restored at its stored place and size" "100 200 400 60" "$(geometry "$WIN")"
check "above normal windows" yes "$(has_state "$WIN" _NET_WM_STATE_ABOVE)"
check "translucent with alpha 200" "_NET_WM_WINDOW_OPACITY(CARDINAL) = $((0xC8C8C8C8))" "$(opacity "$WIN")"
screenshot "$WORK/seeded.png"
check "the stored background colour (dark red)" yes \
    "$(awk -v a="$(colour_share "$WORK/seeded.png" 400x5+100+200 "#800000")" 'BEGIN{print (a > 0.9) ? "yes" : "no"}')"

xdotool mousemove 200 230 mousedown 1 mousemove 260 270 mousemove 320 310 mouseup 1
xdotool mousemove 600 600 # the window must stay where the drag left it
sleep 0.3
check "a drag by (120, 80) moves the window by exactly that" "220 280 400 60" "$(geometry "$WIN")"

type_at 300 310 "typed then closed"
close_app
check "WM_CLOSE saves the typed text" "typed then closed" "$(stored _文本内容)"
check "WM_CLOSE saves the place and size" "3300 4200 6000 900" \
    "$(stored _left) $(stored _top) $(stored _Width) $(stored _Height)"

start_app
check "the next start restores the dragged place" "220 280 400 60" "$(geometry "$WIN")"
xdotool mousemove 300 310 mousedown 1 mousemove 340 310 mousemove 400 330 mouseup 1
type_at 500 330 "typed at logout"
logout
check "a logout saves the typed text" "typed at logout" "$(stored _文本内容)"
check "a logout saves the place" "4800 4500" "$(stored _left) $(stored _top)"

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
red_share() { screenshot "$WORK/r.png"; colour_share "$WORK/r.png" 200x40+0+3 "#FF0000"; }
is_red() { awk -v a="$(red_share)" 'BEGIN{print (a > 0.01) ? "yes" : "no"}'; }
check "the text starts white" no "$(is_red)"
choose_menu_item 60 20 0
wait_for 5 sh -c '[ "$(xdotool search --onlyvisible --name "^参数设置$" | wc -l)" = 1 ]'
SETTINGS=$(xdotool search --onlyvisible --name '^参数设置$' | head -n 1)
read -r sx sy sw sh <<<"$(geometry "$SETTINGS")"
check "settings window is 3765 x 3075 twips" "251 205" "$sw $sh"
check "settings window is centred across" yes "$(near "$sx" $(((1280 - sw) / 2)) 6)"
check "settings window is centred down, below its title bar" yes "$(near "$sy" $(((800 - sh) / 2)) 30)"
check "settings window has no taskbar entry" yes "$(has_state "$SETTINGS" _NET_WM_STATE_SKIP_TASKBAR)"
at() { xdotool mousemove $((sx + $1)) $((sy + $2)) click 1; } # at X Y: click in the client area
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
