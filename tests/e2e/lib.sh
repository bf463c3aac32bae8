# Helpers for driving the built program in a real X server (Xvfb + openbox) as a person would.
# Sourced by the e2e scenarios; the program's path is the first argument.
set -uo pipefail
export LC_ALL=C.UTF-8

APP=$(realpath "$1")
WORK=$(mktemp -d /tmp/kelm-e2e-XXXXXX)
export XDG_CONFIG_HOME=$WORK/config
STORE=$XDG_CONFIG_HOME/PUPNAME.conf
PASSED=0
FAILED=0
APP_PID=
XVFB_PID=
WM_PID=

cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

check() { # check DESCRIPTION EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then
        PASSED=$((PASSED + 1))
        echo "ok   - $1"
    else
        FAILED=$((FAILED + 1))
        echo "FAIL - $1: expected '$2', got '$3'"
    fi
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
    local n
    for n in $(seq 151 199); do
        [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] && continue
        Xvfb :$n -screen 0 1280x800x24 -nolisten tcp -noreset >"$WORK/xvfb.log" 2>&1 &
        XVFB_PID=$!
        export DISPLAY=:$n
        # Another server may have taken the number meanwhile: ours must be the one answering.
        if wait_for 10 xdpyinfo && kill -0 "$XVFB_PID" 2>/dev/null; then
            break
        fi
        kill "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    done
    [ -n "$XVFB_PID" ] || { echo "Xvfb did not start"; exit 1; }
    # The work area is among the last things openbox sets up; a window mapped before that may
    # never be managed. An openbox that never gets there is started again.
    local try
    for try in 1 2 3; do
        openbox >>"$WORK/openbox.log" 2>&1 &
        WM_PID=$!
        wait_for 10 sh -c 'xprop -root _NET_WORKAREA | grep -q CARDINAL' && return 0
        echo "# openbox was not ready (try $try): $(tail -n 3 "$WORK/openbox.log" | tr '\n' ' ')"
        kill "$WM_PID" 2>/dev/null
        wait "$WM_PID" 2>/dev/null
    done
    echo "openbox did not start"
    exit 1
}

fresh_store() { rm -rf "$XDG_CONFIG_HOME"; mkdir -p "$XDG_CONFIG_HOME"; echo "[APPNAME]" >"$STORE"; }
seed() { echo "Kelm-文本提示框$1=$2" >>"$STORE"; } # seed SUFFIX VALUE
# A place and size of 100, 200, 400 x 60 pixels and a translucent window with a text.
seed_place() {
    seed _left 1500; seed _top 3000; seed _Width 6000; seed _Height 705
    seed _文本框高度 900; seed _透明度 200; seed _文本内容 "中文提示"
}

# The key as QSettings writes it: every non-ASCII character as %UXXXX.
qkey() {
    local s=$1 out= c code i
    for ((i = 0; i < ${#s}; i++)); do
        c=${s:i:1}
        printf -v code '%d' "'$c"
        if [ "$code" -gt 127 ]; then printf -v c '%%U%04X' "$code"; fi
        out+=$c
    done
    printf '%s' "$out"
}
stored() { # stored SUFFIX: the value as the program wrote it
    local key
    key=$(qkey "Kelm-文本提示框$1")
    grep -F "$key=" "$STORE" | head -n 1 | cut -d= -f2-
}

prompt_window() { xdotool search --onlyvisible --name '^Kelm屏幕提示框$' 2>/dev/null | head -n 1; }
start_app() { # start_app [ARGUMENTS...]
    "$APP" "$@" >>"$WORK/app.log" 2>&1 &
    APP_PID=$!
    if ! wait_for 10 prompt_window; then
        echo "FAIL - the prompt window did not appear"
        cat "$WORK/app.log"
        exit 1
    fi
    WIN=$(prompt_window)
}
stop_app() { # stop_app SIGNAL: sends it and waits for the process to end; sets APP_STATUS
    kill -"$1" "$APP_PID" 2>/dev/null
    app_ends
}
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
app_running() { [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; }

geometry() { # "X Y W H" of a window, in pixels
    [ -n "$1" ] || { echo "no window"; return; } # xwininfo without an id waits for a click
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
        /^  Width/{w=$2} /^  Height/{h=$2} END{print x, y, w, h}'
}
has_state() { [ -n "$1" ] && yes_if sh -c "xprop -id $1 _NET_WM_STATE | grep -q $2"; }
translucent() { yes_if sh -c "xprop -id $1 _NET_WM_WINDOW_OPACITY | grep -q CARDINAL"; }

screenshot() { import -window root "$1"; }
# The share of pixels in a region that are close to the given colour ("#RRGGBB").
colour_share() { # colour_share FILE GEOMETRY COLOUR
    # Marks the pixels near the colour with magenta first, so that nothing else is counted.
    convert "$1" -crop "$2" +repage -fuzz 25% -fill '#FF00FF' -opaque "$3" -fuzz 0 \
        -fill black +opaque '#FF00FF' -fill white -opaque '#FF00FF' \
        -colorspace gray -format '%[fx:mean]' info:
}

# The prompt window shows a text in two kinds of glyphs; boxes would look alike for any two
# characters, real glyphs differ.
check_glyphs() { # check_glyphs STOP_COMMAND...
    local text one field
    for text in 一一一 田田田; do
        fresh_store
        seed _Width 6000
        seed _文本内容 "$text"
        start_app
        sleep 0.3 # let the first paint reach the screen
        screenshot "$WORK/$text.png"
        "$@"
    done
    one=$(colour_share "$WORK/一一一.png" 400x47+0+0 "#FFFFFF")
    field=$(colour_share "$WORK/田田田.png" 400x47+0+0 "#FFFFFF")
    check "text is drawn in white" yes "$(above "$one" 0.003)"
    check "different characters look different" yes "$(awk -v a="$one" -v b="$field" 'BEGIN{print (b > a * 1.5) ? "yes" : "no"}')"
}
is_red() { screenshot "$WORK/r.png"; above "$(colour_share "$WORK/r.png" 200x40+0+3 "#FF0000")" 0.01; }

finish() {
    # A sanitized build reports what it found on its standard error.
    check "no sanitizer reports" "" "$(grep -E 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$WORK/app.log" | head -n 3)"
    echo "$PASSED passed, $FAILED failed"
    [ "$FAILED" -eq 0 ]
}

# The pop-up menu open at the moment, as "X Y W H".
popup_menu() {
    local w
    for w in $(xdotool search --onlyvisible --class kelm-prompt 2>/dev/null); do
        # Qt's menus are the program's only override-redirect windows.
        if xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes'; then
            geometry "$w"
            return 0
        fi
    done
    return 1
}
# choose_menu_item X Y INDEX: right-clicks at X,Y and clicks the INDEX-th of the three items.
choose_menu_item() {
    xdotool mousemove "$1" "$2" click 3
    wait_for 5 popup_menu || { echo "no menu opened"; return 1; }
    local mx my mw mh
    read -r mx my mw mh <<<"$(popup_menu)"
    xdotool mousemove $((mx + mw / 2)) $((my + mh * (2 * $3 + 1) / 6)) click 1
}
# open_settings: 参数设置 from the prompt window's menu; sets SETTINGS and its geometry sx sy sw sh.
open_settings() {
    choose_menu_item 60 20 0
    wait_for 5 sh -c '[ "$(xdotool search --onlyvisible --name "^参数设置$" | wc -l)" = 1 ]'
    SETTINGS=$(xdotool search --onlyvisible --name '^参数设置$' | head -n 1)
    read -r sx sy sw sh <<<"$(geometry "$SETTINGS")"
}
at() { xdotool mousemove $((sx + $1)) $((sy + $2)) click 1; } # at X Y: a click in the settings window
visible_windows_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }
near() { # near A B TOLERANCE
    local d=$(($1 - $2))
    [ ${d#-} -le "$3" ] && echo yes || echo no
}
