#!/usr/bin/env bash
# session_e2e.sh PROGRAM: in a Wayland session that also offers X11 (Xvfb + openbox and a Wayland
# socket that is not there), the program runs on X11; its settings and About windows open centred
# by their frame, and Enter presses the focused button of the settings window.
source "$(dirname "$0")/../e2e/lib.sh" "$1"
fresh_store
start_x
export WAYLAND_DISPLAY=wayland-kelm-absent XDG_SESSION_TYPE=wayland
start_app
check "runs on X11 without trying Wayland" "" "$(grep -i wayland "$WORK/app.log")"
read -r px py pw ph <<<"$(geometry "$WIN")"
read -r sw sh <<<"$(xwininfo -root | awk '/^  Width/{w=$2} /^  Height/{h=$2} END{print w, h}')"

centred() { # centred WINDOW [-v]: whether the frame's centre is the screen's, across and down
    local x y w h l r t b across down
    read -r x y w h <<<"$(geometry "$1")"
    IFS=', ' read -r l r t b <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | cut -d= -f2)"
    [ -n "$b" ] || return 1
    across=$(near $((2 * (x - l) + w + l + r)) "$sw" 2)
    down=$(near $((2 * (y - t) + h + t + b)) "$sh" 2)
    [ "${2:-}" == -v ] && echo "$across $down"
    [ "$across $down" == "yes yes" ]
}

# menu item | caption
for row in "0|参数设置" "1|关于作者"; do
    IFS='|' read -r item caption <<<"$row"
    choose_menu_item $((px + 20)) $((py + ph / 2)) "$item"
    wait_for 5 sh -c "xdotool search --onlyvisible --name '^$caption\$'"
    win=$(xdotool search --onlyvisible --name "^$caption\$" | head -n 1)
    # The window manager frames the window first; the program then centres the frame.
    wait_for 5 centred "$win"
    check "$caption: frame centred" "yes yes" "$(centred "$win" -v)"
done

# Tab from the first list to 关闭, the eighth stop, and press Enter: the window closes.
settings=$(xdotool search --onlyvisible --name '^参数设置$' | head -n 1)
xdotool windowactivate --sync "$settings" key --delay 30 Tab Tab Tab Tab Tab Tab Tab Return
wait_for 5 sh -c "[ \$(xdotool search --onlyvisible --name '^参数设置\$' | wc -l) -eq 0 ]"
check "Enter on the focused 关闭 closes the settings window" 0 "$(visible_windows_named 参数设置)"
finish
