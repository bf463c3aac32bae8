#!/usr/bin/env bash
# The mouse on the prompt window, the context menu, the settings and About windows, and exit.
source "$(dirname "$0")/lib.sh"
start_x

fresh_store
seed _文本内容 "双击测试"
start_app
read -r x y w h <<<"$(geometry "$WIN")"
check "starts 200 pixels wide at the corner" "0 0 200 47" "$x $y $w $h"

echo "# the settings window"
choose_menu_item 60 20 0
wait_for 5 sh -c '[ "$(xdotool search --onlyvisible --name "^参数设置$" | wc -l)" = 1 ]'
SETTINGS=$(xdotool search --onlyvisible --name '^参数设置$' | head -n 1)
read -r sx sy sw sh <<<"$(geometry "$SETTINGS")"
check "settings window is 3765 x 3075 twips" "251 205" "$sw $sh"
check "settings window is centred across" yes "$(near "$sx" $(((1280 - sw) / 2)) 3)"
check "settings window is centred down, below its title bar" yes "$(near "$sy" $(((800 - sh) / 2)) 30)"
check "settings window has no taskbar entry" yes "$(has_state "$SETTINGS" _NET_WM_STATE_SKIP_TASKBAR)"

echo "# the About window, twice"
choose_menu_item 60 20 1
wait_for 5 sh -c '[ "$(xdotool search --onlyvisible --name "^关于作者$" | wc -l)" = 1 ]'
choose_menu_item 60 20 1
sleep 0.3
check "two clicks show one About window" 1 "$(visible_windows_named 关于作者)"
ABOUT=$(xdotool search --onlyvisible --name '^关于作者$' | head -n 1)
read -r ax ay aw ah <<<"$(geometry "$ABOUT")"
check "About window is 6465 x 6780 twips" "431 452" "$aw $ah"
check "About window has a taskbar entry" no "$(has_state "$ABOUT" _NET_WM_STATE_SKIP_TASKBAR)"
check "the prompt window is still there" 1 "$(visible_windows_named Kelm屏幕提示框)"

echo "# widening by the right edge"
xdotool mousemove 199 20 mousedown 1 mousemove 250 20 mousemove 300 20 mouseup 1
wait_for 3 sh -c "[ \"\$(xwininfo -id $WIN | awk '/^  Width/{print \$2}')\" = 300 ]"
read -r x y w h <<<"$(geometry "$WIN")"
check "the right edge follows the pointer, the left edge stays" "0 0 300 47" "$x $y $w $h"
xdotool mousemove 299 20 mousedown 1 mousemove 100 20 mouseup 1
wait_for 3 sh -c "[ \"\$(xwininfo -id $WIN | awk '/^  Width/{print \$2}')\" = 200 ]"
check "never narrower than 3000 twips" "0 0 200 47" "$(geometry "$WIN")"
xdotool mousemove 199 20 mousedown 1 mousemove 250 20 mousemove 330 20 mouseup 1
wait_for 3 sh -c "[ \"\$(xwininfo -id $WIN | awk '/^  Width/{print \$2}')\" = 330 ]"

echo "# double-click clears, and again restores"
text_share() { screenshot "$WORK/t.png"; colour_share "$WORK/t.png" 320x30+5+9 "#FFFFFF"; }
before=$(text_share)
xdotool mousemove 150 24 click --repeat 2 --delay 80 1
sleep 0.3
cleared=$(text_share)
xdotool mousemove 150 24 click --repeat 2 --delay 80 1
sleep 0.3
restored=$(text_share)
check "text is shown at first" yes "$(awk -v a="$before" 'BEGIN{print (a > 0.01) ? "yes" : "no"}')"
check "a double-click empties the box" yes "$(awk -v a="$cleared" 'BEGIN{print (a < 0.001) ? "yes" : "no"}')"
check "a second double-click brings the text back" "$before" "$restored"
check "double-clicks do not move the window" "0 0 330 47" "$(geometry "$WIN")"

echo "# exit"
choose_menu_item 60 20 2
wait_for 10 sh -c "! kill -0 $APP_PID"
check "退出 ends the process" no "$(app_running && echo yes || echo no)"
APP_PID=
check "the text is saved" "双击测试" "$(stored _文本内容)"
check "the width is saved" 4950 "$(stored _Width)"
check "the place is saved" "0 0" "$(stored _left) $(stored _top)"
check "no window is left" 0 "$(visible_windows_named 关于作者)$(visible_windows_named 参数设置 | sed 's/^0$//')"

start_app
check "the next start restores the width" "0 0 330 47" "$(geometry "$WIN")"
stop_app TERM

finish
