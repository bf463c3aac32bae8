#!/usr/bin/env bash
# Without a mouse: the Menu key and Shift+F10 open the context menu at the text box, its items are
# chosen with the keys, Escape closes the settings and About windows and what is typed next goes
# into the caption. Through the accessibility bus: what a screen reader finds in each window.
source "$(dirname "$0")/lib.sh"
start_x
start_bus
# The accessibility bus starts when something asks for it; a program started before may never
# register on it.
/usr/bin/python3 -c 'import pyatspi; pyatspi.Registry.getDesktop(0)' >>"$WORK/atspi.log" 2>&1
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

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

echo "# what a screen reader finds, with the three windows open"
/usr/bin/python3 "$(dirname "$0")/a11y_tree.py" "$APP_PID" Kelm屏幕提示框 参数设置 关于作者 \
    >"$WORK/tree" 2>>"$WORK/atspi.log"
# The names themselves are the window tests'; here, what Qt's bridge makes of them.
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
