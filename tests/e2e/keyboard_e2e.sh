#!/usr/bin/env bash
# Without a mouse: the Menu key and Shift+F10 open the context menu at the text box, its items are
# chosen with the keys, Escape closes the settings and About windows and what is typed next goes
# into the caption. (What a screen reader is told of each window and control is the window tests':
# Qt's bridge to the accessibility bus serves the same interfaces they read.)
source "$(dirname "$0")/lib.sh"
start_x

fresh_store
seed _文本内容 "键盘"
seed _left 3000; seed _top 3000
xdotool mousemove 1000 700
start_app
wait_for 5 focused "$WIN" || xdotool windowactivate --sync "$WIN"

echo "# the Menu key and 参数设置 with the arrow and Enter; Shift+F10 on the prompt and 关于作者"
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

echo "# Escape closes each, and the prompt has the keyboard again"
for window in 关于作者 参数设置; do
    focused "$(named $window)" || xdotool windowactivate --sync "$(named $window)"
    xdotool key Escape
    check "Escape closes the open window $window" yes "$(yes_if gone $window)"
    check "the prompt has the keyboard again" yes "$(yes_if wait_for 5 focused "$WIN")"
    xdotool type --delay 50 "${window:0:1}"
done
stop_app TERM
check "what was typed after each Escape is in the caption" "键盘关参" "$(stored _文本内容)"
finish
