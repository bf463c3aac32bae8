# Helpers driving the program (path: first argument) in Xvfb + openbox as a person would.
set -uo pipefail
export LC_ALL=C.UTF-8

APP=$(realpath "$1")
WORK=$(mktemp -d /tmp/kelm-e2e-XXXXXX)
# Nothing a test starts (the program, openbox, Wine) writes the home of whoever runs the tests.
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_CACHE_HOME=$WORK/home/.cache \
    XDG_DATA_HOME=$WORK/home/.local/share
mkdir -p "$HOME"
STORE=$XDG_CONFIG_HOME/PUPNAME.conf
PASSED=0 FAILED=0 APP_PID= XVFB_PID= WM_PID= BUS_PID=
# No session bus unless a test starts its own: never the prompt of the person running the tests.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$WORK/no-session-bus

cleanup() { kill $APP_PID $WM_PID $XVFB_PID $BUS_PID 2>/dev/null; wait 2>/dev/null; rm -rf "$WORK"; }
start_bus() { # a session bus of the test's own
    dbus-daemon --session --nofork --print-address=3 3>"$WORK/bus" >/dev/null 2>&1 &
    BUS_PID=$!
    wait_for 10 grep -q . "$WORK/bus" || { echo "dbus-daemon did not start"; exit 1; }
    export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$WORK/bus")
}
trap cleanup EXIT

check() { # check DESCRIPTION EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then PASSED=$((PASSED + 1)) && echo "ok   - $1"
    else FAILED=$((FAILED + 1)) && echo "FAIL - $1: expected '$2', got '$3'"; fi
}
yes_if() { "$@" >/dev/null 2>&1 && echo yes || echo no; } # yes_if COMMAND...: whether it succeeds
above() { awk -v a="$1" -v b="$2" 'BEGIN{print (a > b) ? "yes" : "no"}'; } # above A B

# wait_for SECONDS COMMAND...: runs the command until it succeeds or the time is up.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.05
    done
}

start_x() {
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    wait_for 10 grep -q . "$WORK/display" || { echo "Xvfb did not start"; exit 1; }
    export DISPLAY=:$(head -n 1 "$WORK/display")
    # A window mapped before openbox set the work area may never be managed: wait, or start again.
    local try
    for try in 1 2 3; do
        openbox >>"$WORK/openbox.log" 2>&1 &
        WM_PID=$!
        wait_for 10 sh -c 'xprop -root _NET_WORKAREA | grep -q CARDINAL' && return 0
        kill "$WM_PID" 2>/dev/null
        wait "$WM_PID" 2>/dev/null
    done
    echo "openbox did not start"
    exit 1
}

fresh_store() { rm -rf "$XDG_CONFIG_HOME"; mkdir -p "$XDG_CONFIG_HOME"; echo "[APPNAME]" >"$STORE"; }
seed() { echo "Kelm-文本提示框$1=$2" >>"$STORE"; } # seed SUFFIX VALUE
hold_lock() { # hold_lock SECONDS: the settings' lock as a live copy holds it, for that long
    sleep "$1" &
    HOLDER_PID=$!
    printf '%s\nsleep\n%s\n' "$HOLDER_PID" "$(hostname)" >"$STORE.lock"
}

stored() { # stored SUFFIX: the value as QSettings wrote it, every non-ASCII character as %UXXXX
    local key
    key=$(printf 'Kelm-文本提示框%s' "$1" | perl -CS -pe 's/([^\x00-\x7f])/sprintf("%%U%04X", ord($1))/ge')
    grep -F "$key=" "$STORE" | head -n 1 | cut -d= -f2-
}
placed() { echo "$(stored _文本内容)|$(stored _left) $(stored _top) $(stored _Width) $(stored _Height)"; }

named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null; } # named CAPTION: its windows
prompt_window() { named Kelm屏幕提示框 | head -n 1 | grep .; }
start_app() { # start_app [ARGUMENTS...]
    "$APP" "$@" >>"$WORK/app.log" 2>&1 &
    APP_PID=$!
    wait_for 10 prompt_window || { echo "FAIL - no prompt window"; cat "$WORK/app.log"; exit 1; }
    WIN=$(prompt_window)
}
stop_app() { kill -"$1" "$APP_PID" 2>/dev/null; app_ends; } # stop_app SIGNAL
app_ends() { # waits up to 10 s for the process to end; sets APP_STATUS (timeout: "running")
    if wait_for 10 sh -c "! kill -0 $APP_PID"; then
        wait "$APP_PID" 2>/dev/null
        APP_STATUS=$?
    else
        APP_STATUS=running
        kill -KILL "$APP_PID" 2>/dev/null
    fi
    APP_PID=
}

geometry() { # "X Y W H" of a window, in pixels
    [ -n "$1" ] || { echo "no window"; return; } # xwininfo without an id waits for a click
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
        /^  Width/{w=$2} /^  Height/{h=$2} END{print x, y, w, h}'
}
check_geometry() { # check_geometry DESCRIPTION "X Y W H": the prompt window's, given time to get there
    wait_for 3 sh -c "[ \"\$(geometry $WIN)\" = '$2' ]"
    check "$1" "$2" "$(geometry "$WIN")"
}
prompts() { named Kelm屏幕提示框 | wc -l; } # how many prompt windows are shown
mapped() { # mapped [STATE]: the prompt window's map state, once it is STATE or after 3 s
    [ -z "${1:-}" ] || wait_for 3 sh -c "xwininfo -id $WIN | grep -q 'Map State: $1\$'"
    xwininfo -id "$WIN" | sed -n 's/^  Map State: //p'
}
double_click() { # on the prompt's text: unlocked, it clears the text
    xdotool mousemove --window "$WIN" 100 20 click --repeat 2 --delay 80 1
    sleep 0.5
}
has_state() { yes_if sh -c "xprop -id $1 _NET_WM_STATE | grep -q $2"; }

colour_share() { # colour_share GEOMETRY #RRGGBB: the share of the region's pixels near the colour
    import -window root "$WORK/shot.png"
    convert "$WORK/shot.png" -crop "$1" +repage -fuzz 25% -fill '#FF00FF' -opaque "$2" -fuzz 0 \
        -fill black +opaque '#FF00FF' -fill white -opaque '#FF00FF' -colorspace gray \
        -format '%[fx:mean]' info:
}
is_red() { above "$(colour_share 200x40+0+3 "#FF0000")" 0.01; }

# Two texts of different glyphs; boxes for missing glyphs would look alike.
check_glyphs() { # check_glyphs STOP_COMMAND...
    local text share=()
    for text in 一一一 田田田; do
        fresh_store
        seed _Width 6000
        seed _文本内容 "$text"
        start_app
        sleep 0.3 # let the first paint reach the screen
        share+=("$(colour_share 400x47+0+0 "#FFFFFF")")
        "$@"
    done
    check "text is drawn in white" yes "$(above "${share[0]}" 0.003)"
    check "different characters look different" yes "$(above "${share[1]}" "$(awk "BEGIN{print ${share[0]} * 1.5}")")"
}

# The "X Y W H" of the menu (override-redirect, at X Y if given; a tool tip opens below the pointer).
menu_geometry() { # menu_geometry [X Y]
    local w x y rest
    for w in $(xdotool search --onlyvisible --class kelm-prompt 2>/dev/null); do
        xwininfo -id "$w" | grep -q 'Override Redirect State: yes' || continue
        read -r x y rest <<<"$(geometry "$w")"
        { [ $# = 0 ] || [ $(((x - $1) ** 2 + (y - $2) ** 2)) -le 8 ]; } && echo "$x $y $rest" && return 0
    done
    return 1
}
# menu_from KEY...: the keys open the menu; MENU_AT says whether it opened on the prompt's text.
menu_from() {
    local x y w h mx my
    xdotool key "$@"
    wait_for 5 menu_geometry || { MENU_AT="no menu"; return 1; }
    read -r x y w h <<<"$(geometry "$WIN")"
    read -r mx my _ <<<"$(menu_geometry)"
    MENU_AT=$([ "$mx" -ge "$x" ] && [ "$mx" -le $((x + w)) ] && [ "$my" -ge "$y" ] &&
        [ "$my" -le $((y + h)) ] && echo "on the text box" || echo "at $mx,$my")
}
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; } # focused WINDOW
# retype X Y TEXT: a click at X,Y in the prompt, then TEXT typed over its text
retype() { xdotool mousemove "$1" "$2" click 1; wait_for 3 focused "$WIN"; xdotool key ctrl+a type --delay 20 "$3"; }
gone() { wait_for 5 sh -c "! xdotool search --onlyvisible --name '^$1\$' >/dev/null"; } # gone CAPTION
open_menu() { # open_menu X Y: right-clicks at X,Y; MENU is then the menu's "X Y W H"
    xdotool mousemove "$1" "$2" click 3
    wait_for 5 menu_geometry "$1" "$2" || { echo "no menu opened"; return 1; }
    MENU=$(menu_geometry "$1" "$2")
}
# choose_menu_item X Y INDEX: right-clicks at X,Y and clicks the INDEX-th of the three items.
choose_menu_item() {
    local mx my mw mh
    open_menu "$1" "$2" || return 1
    read -r mx my mw mh <<<"$MENU"
    xdotool mousemove $((mx + mw / 2)) $((my + mh * (2 * $3 + 1) / 6)) click 1
}
at() { xdotool mousemove $((sx + $1)) $((sy + $2)) click 1; } # at X Y: a click in the settings window

# Seeded place restored, a drag, STOP_COMMAND saves text, place and size for the next start.
check_restore_drag_save() { # check_restore_drag_save STOP_COMMAND...
    fresh_store
    seed _left 1500; seed _top 3000; seed _Width 6000; seed _Height 705
    seed _文本框高度 900; seed _透明度 200
    start_app
    check "restored at its stored place and size" "100 200 400 60" "$(geometry "$WIN")"
    check "above others, no taskbar entry" "yes yes" \
        "$(has_state "$WIN" _NET_WM_STATE_ABOVE) $(has_state "$WIN" _NET_WM_STATE_SKIP_TASKBAR)"
    xdotool mousemove 200 230 mousedown 1 mousemove 260 270 mousemove 320 310 mouseup 1
    check_geometry "a drag by (120, 80) moves the window by exactly that" "220 280 400 60"
    retype 300 310 "typed then saved"
    sleep 0.3 # the typed text reaches the program before it is asked to end
    "$@"
    check "$* saves the text, place and size" "typed then saved|3300 4200 6000 900" "$(placed)"
    start_app
    check "the next start restores the dragged place" "220 280 400 60" "$(geometry "$WIN")"
}

# 255 红色 chosen in the settings window (KEYS reach it in the opened list) turns the text red.
check_red_from_settings() { # check_red_from_settings KEYS...
    fresh_store
    seed _文本内容 "红字 Red"
    start_app
    check "the text starts white" no "$(is_red)"
    choose_menu_item 60 20 0
    wait_for 5 named 参数设置
    read -r sx sy _ _ <<<"$(geometry "$(named 参数设置 | head -n 1)")"
    at 100 66 # the font-colour list's text
    xdotool key alt+Down sleep 0.3 key "$@" Return
    at 196 184 # 确认
    sleep 0.3
    check "the store holds the red colour" 255 "$(stored _字体颜色)"
    check "the text is drawn red" yes "$(is_red)"
}

finish() {
    check "no sanitizer reports" "" "$(grep -E 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$WORK/app.log" | head -n 3)"
    echo "$PASSED passed, $FAILED failed"
    [ "$FAILED" -eq 0 ]
}
