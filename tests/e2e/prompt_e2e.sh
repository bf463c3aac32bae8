#!/usr/bin/env bash
# The prompt in a Wayland session that also offers X11: restore, drag, save at signals, settings,
# 退出, the keyboard and the accessibility tree.
source "$(dirname "$0")/lib.sh"
start_x
export WAYLAND_DISPLAY=wayland-kelm-absent XDG_SESSION_TYPE=wayland

check_restore_drag_save stop_app TERM
check "runs on X11 without trying Wayland" "" "$(grep -i wayland "$WORK/app.log")"
xdotool mousemove 300 310 click 1 key End type "!"
sleep 0.3 # the typed letter reaches the program before the signal
stop_app INT
check "SIGINT saves as well" "typed then saved!" "$(stored _文本内容)"

check_glyphs stop_app TERM

check_red_from_settings Home
# Whether a window's frame, as the window manager drew it, is centred on the screen (2 px).
frame_centred() {
    local x y w h l r t b
    read -r x y w h <<<"$(geometry "$1")"
    IFS=', ' read -r l r t b <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | cut -s -d= -f2)"
    [ -n "$b" ] && [ $(((2 * (x - l) + w + l + r - 1280) ** 2)) -le 16 ] &&
        [ $(((2 * (y - t) + h + t + b - 800) ** 2)) -le 16 ]
}
check "the settings window's frame is centred" yes \
    "$(yes_if wait_for 5 frame_centred "$(named 参数设置 | head -n 1)")"
at 110 122 # the height list's text
xdotool key ctrl+a type --delay 20 1006
at 196 184 # 确认
check_geometry "the window is 1006 twips high" "0 0 200 67"
choose_menu_item 60 20 2
app_ends
check "退出 ends the process and saves" "0 红字 Red|0 0 3000 1006" "$APP_STATUS $(placed)"
start_app
sleep 0.3
check "the next start restores the height and the red text" "0 0 200 67 yes" "$(geometry "$WIN") $(is_red)"
choose_menu_item 60 20 0
wait_for 5 named 参数设置
xdotool windowactivate --sync "$(named 参数设置 | head -n 1)" key --delay 30 Tab Tab Tab Tab Tab Tab Tab Return
check "Enter on 关闭, seven Tabs on, closes the settings window" yes "$(yes_if gone 参数设置)"
stop_app TERM

xmessage -geometry 1280x40+0+0 -title kelm-panel panel >/dev/null 2>&1 & # its strip reserved by EWMH
PANEL_PID=$!
wait_for 5 named kelm-panel
xprop -id "$(named kelm-panel | head -n 1)" -f _NET_WM_STRUT_PARTIAL 32c \
    -set _NET_WM_STRUT_PARTIAL "0,0,40,0,0,0,0,0,0,1279,0,0"
wait_for 5 sh -c "xprop -root _NET_WORKAREA | grep -q '= 0, 40, 1280, 760,'"
fresh_store
seed _left 1500; seed _top 285
start_app
check_geometry "a place with 19 pixels of the text under a panel starts below it" "100 40 200 47"
stop_app TERM
kill "$PANEL_PID"

echo "# without a mouse: the Menu key, Shift+F10, the menu's keys and Escape; typing goes on"
start_bus
# The accessibility bus starts when asked for; a program started before may never register on it.
/usr/bin/python3 -c 'import pyatspi; pyatspi.Registry.getDesktop(0)' >>"$WORK/atspi.log" 2>&1
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
fresh_store
seed _文本内容 "键盘"
seed _left 3000; seed _top 3000
xdotool mousemove 1000 700
start_app
wait_for 5 focused "$WIN" || xdotool windowactivate --sync "$WIN"
menu_from Menu
check "the Menu key opens the menu at the text box" "on the text box" "$MENU_AT"
xdotool key Down Return
check "参数设置 is chosen with the keys and has the keyboard" "yes yes" \
    "$(yes_if wait_for 5 named 参数设置) $(yes_if wait_for 5 focused "$(named 参数设置)")"
xdotool windowactivate --sync "$WIN"
menu_from shift+F10
check "Shift+F10 opens the menu at the text box" "on the text box" "$MENU_AT"
xdotool key Down Down Return
check "关于作者 is chosen with the keys and has the keyboard" "yes yes" \
    "$(yes_if wait_for 5 named 关于作者) $(yes_if wait_for 5 focused "$(named 关于作者)")"
# What Qt's bridge tells a screen reader, one row of each kind (the names are the window tests').
/usr/bin/python3 "$(dirname "$0")/a11y_tree.py" "$APP_PID" Kelm屏幕提示框 参数设置 关于作者 \
    >"$WORK/tree" 2>>"$WORK/atspi.log"
while IFS= read -r line; do
    check "the accessibility tree holds: $line" yes "$(yes_if grep -qxF "$line" "$WORK/tree")"
done <<'EOF_TREE'
frame|Kelm屏幕提示框|
text|提示文本|
dialog|参数设置|
combo box|字体颜色|字体颜色
push button|选择字体颜色|
frame|关于作者|
link|查看最新版本--Kelm屏幕提示框 20190218|
EOF_TREE
check "no filler stands for a window" "" "$(grep -E '^filler\|[^|]' "$WORK/tree")"
for window in 关于作者:A 参数设置:S; do
    letter=${window#*:} window=${window%:*}
    focused "$(named $window)" || xdotool windowactivate --sync "$(named $window)"
    xdotool key Escape
    check "Escape closes the open window $window" yes "$(yes_if gone $window)"
    check "the prompt has the keyboard again" yes "$(yes_if wait_for 5 focused "$WIN")"
    xdotool type --delay 50 "$letter"
done
stop_app TERM
check "what was typed after each Escape is in the caption" "键盘AS" "$(stored _文本内容)"
finish
