#!/usr/bin/env bash
# The Windows build under Wine: restore, drag, save at close and logout, the settings window,
# Chinese in the menu Wine draws, a link of the About window, the keyboard.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wine_lib.sh"
# Wine hands a link to xdg-open: this one notes the address.
mkdir -p "$WORK/bin"
printf '#!/bin/sh\necho "$1" >>"%s/opened"\n' "$WORK" >"$WORK/bin/xdg-open"
chmod +x "$WORK/bin/xdg-open"
export PATH=$WORK/bin:$PATH
start_x
wine_restart
set_dpi 96

check_glyphs close_app
check_restore_drag_save close_app
xdotool mousemove 300 310 mousedown 1 mousemove 340 310 mousemove 400 330 mouseup 1
retype 500 330 "typed at logout"
logout
check "a logout saves the text and place" "typed at logout|4800 4500" \
    "$(stored _文本内容)|$(stored _left) $(stored _top)"

check_red_from_settings Up Up Up Up
close_app
start_app
sleep 0.3
check "the next start draws it red again" yes "$(is_red)"
open_menu 60 20
read -r mx my mw mh <<<"$MENU"
xdotool mousemove 5 400 # no item under the pointer
check "the menu draws 参数设置 in Chinese, not boxes" yes \
    "$(first_glyphs_differ "$((mw - 6))x$((mh / 3 - 3))+$((mx + 3))+$((my + 3))" 4)"
xdotool mousemove $((mx + mw / 2)) $((my + mh / 2)) click 1 # 关于作者
wait_for 5 named 关于作者
read -r ax ay _ _ <<<"$(geometry "$(named 关于作者 | head -n 1)")"
xdotool mousemove $((ax + 60)) $((ay + 128)) click 1 # the first link in the frame
wait_for 10 test -s "$WORK/opened"
check "a link of the About window opens its address" \
    "$(sed -n 's/^KELM_ABOUT_URL1:STRING=//p' "$(dirname "$APP")/CMakeCache.txt")" "$(cat "$WORK/opened" 2>/dev/null)"
close_app

# Wine 8 gives no X focus to a window the program activates: the focus after is the window tests'.
fresh_store
xdotool mousemove 1000 700
start_app
xdotool windowactivate --sync "$WIN"
menu_from shift+F10
check "Shift+F10 opens the menu at the text box" "on the text box" "$MENU_AT"
xdotool key Down Return
check "参数设置 is chosen with the keys" yes "$(yes_if wait_for 10 named 参数设置)"
xdotool windowactivate --sync "$(named 参数设置)" key Escape
check "Escape closes the open settings window" yes "$(yes_if gone 参数设置)"
close_app

# openbox would push Wine's window out of a panel's strip itself: the work area is published with
# no window manager, and Wine reads it when its desktop starts.
kill "$WM_PID"
wait "$WM_PID" 2>/dev/null
WM_PID=
xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0,40,1280,760"
wine_restart
fresh_store
seed _left 1500; seed _top 285
start_app
check_geometry "a place with 19 pixels of the text under a panel starts below it" "100 40 200 47"
close_app
finish
