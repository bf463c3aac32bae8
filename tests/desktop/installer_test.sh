#!/usr/bin/env bash
# installer_test.sh BUILD_DIR VERSION: the Windows installer and zip from cpack; under Wine,
# install, upgrade and uninstall, silently and through the pages, while a copy of the program runs.
source "$(dirname "$0")/../e2e/lib.sh" "$1/kelm-prompt.exe"
source "$(dirname "$0")/../e2e/wine_lib.sh"
BUILD=$(realpath "$1")
VERSION=$2
export WINEPREFIX=$BUILD/wineprefix-installer
UNINSTALL='HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall\kelm-prompt'
SETUP=$WORK/pkg/kelm-prompt-$VERSION-win64-setup.exe

(cd "$WORK" && cpack -B "$WORK/pkg" --config "$BUILD/CPackConfig.cmake" >"$WORK/cpack.log" 2>&1) || cat "$WORK/cpack.log"
check "the zip holds the exe, its licence and README" \
    "LICENSE.txt README.txt kelm-prompt.exe" \
    "$(cmake -E tar tf "$WORK/pkg/kelm-prompt-$VERSION-win64.zip" | sed 's|.*/||' | sort | xargs)"
mkdir -p "$WORK/zip" && (cd "$WORK/zip" && cmake -E tar xf "$WORK/pkg/kelm-prompt-$VERSION-win64.zip")
PORTABLE=$(find "$WORK/zip" -name kelm-prompt.exe)

start_x
wine_restart
user=$WINEPREFIX/drive_c/users/$(id -un)
menu=$user/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs
dir=$user/AppData/Local/Programs/kelm-prompt
other=$WINEPREFIX/drive_c/kelm-elsewhere
rm -rf "$dir" "$other" "$menu/Kelm屏幕提示框.lnk" "$menu/StartUp/Kelm屏幕提示框.lnk" # an earlier run's
wine_quiet reg delete "$UNINSTALL" /f
# The prefix's user folders link to the gone HOME of the run that made it: dangling, no logon starts.
for link in "$user"/*; do [ -L "$link" ] && ln -sfn "$HOME" "$link"; done
fresh_store

laid_down() {
    for f in "$dir/kelm-prompt.exe" "$dir/uninstall.exe" "$menu/Kelm屏幕提示框.lnk" \
        "$menu/StartUp/Kelm屏幕提示框.lnk"; do yes_if test -s "$f"; done | xargs
}
entry() { # entry: the Apps & features entry, one "NAME=VALUE" per line
    wine_quiet regedit /E "$(winepath -w "$WORK/uninstall.reg" 2>/dev/null)" "$UNINSTALL"
    iconv -f UTF-16LE -t UTF-8 "$WORK/uninstall.reg" 2>/dev/null | tr -d '\r"' | grep '='
    rm -f "$WORK/uninstall.reg"
}
# The places a copy of the program runs from: A the installed folder, B another one, P the zip.
place() { case $(realpath -m "$1") in "$dir"/*) echo A ;; "$other"/*) echo B ;; "$WORK/zip"/*) echo P ;; esac; }
running() { # where each running copy was started from, by the file mapped into its process
    local pid
    for pid in $(pgrep -f 'kelm-prompt\.exe'); do
        place "$(awk '$6 ~ /kelm-prompt\.exe$/ { print $6; exit }' "/proc/$pid/maps" 2>/dev/null)"
    done | sort | xargs
}
logon() { # where the Startup folder's shortcut starts the program from
    local lnk=$menu/StartUp/Kelm屏幕提示框.lnk
    [ -e "$lnk" ] || { echo none; return; }
    place "$(winepath -u "$(grep -aoE '[A-Z]:\\[^[:cntrl:]]*\.exe' "$lnk" | head -n 1)" 2>/dev/null)"
}
holds() { for d in "$dir" "$other"; do [ -e "$d/kelm-prompt.exe" ] && place "$d/kelm-prompt.exe"; done | xargs; }
state() { echo "$(running)|$(holds)|$(logon)|$(prompts)"; }
state_is() { [ "$(state)" = "$1" ]; }

start_copy() { # start_copy EXE [LAUNCHER]: by default through wine-run.sh, as the other Wine tests
    "${2:-$RUN}" "$1" </dev/null >>"$WORK/app.log" 2>&1 &
    COPY_PID=$!
    wait_for 20 sh -c "xdotool search --onlyvisible --pid $COPY_PID | grep -q ."
}
ends() { # ends EXE: the copy that runs ends as --quit asks, or the test shows what it said
    "$WINE" "$1" --quit </dev/null >>"$WORK/quit.log" 2>&1
    wait_for 20 sh -c "! kill -0 $COPY_PID" || cat "$WORK/quit.log"
}
# A logon would start the installed copy again, showing the hidden prompt.
hidden_then_run() {
    start_copy "$dir/kelm-prompt.exe" "$WINE"
    "$WINE" "$dir/kelm-prompt.exe" --hide </dev/null >/dev/null 2>&1
    "$RUN" "$PORTABLE" --get-text </dev/null >/dev/null 2>&1
}
portable_then_upgrade() {
    ends "$dir/kelm-prompt.exe"
    start_copy "$PORTABLE"
    PORTABLE_PID=$COPY_PID
    silent /D=C:\kelm-elsewhere
}
silent() { wine_quiet "$SETUP" /S "$@"; }
first_install() { silent /LOGON; LAID=$(laid_down); entry >"$WORK/entry"; }
# Through the pages: 登录时启动 clicked once, then Return until the end starts the installed program.
through_pages() {
    "$WINE" "$SETUP" </dev/null >/dev/null 2>&1 &
    local pid=$! win _
    wait_for 20 sh -c "xdotool search --onlyvisible --class win64-setup | grep -q ." || return
    win=$(xdotool search --onlyvisible --class win64-setup | head -n 1)
    xdotool windowactivate --sync "$win"
    xdotool key Down space
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        xdotool windowactivate --sync "$win" 2>/dev/null && xdotool key Return
        wait_for 1 sh -c "! kill -0 $pid" && break
    done
}
installed_then_uninstall() {
    COPY_PID=$PORTABLE_PID
    ends "$PORTABLE"
    fresh_store
    start_copy "$(winepath -w "$dir/kelm-prompt.exe" 2>/dev/null)"
    wine_quiet "$dir/uninstall.exe" /S # it goes on from a copy of itself
}

# description | what is done | copies running | folders holding it | logon starts | prompts shown
cases=(
    "/S /LOGON installs into A with a logon start|first_install||A|A|0"
    "wine-run.sh starts only what it is given, not the Startup folder too|hidden_then_run|A|A|A|0"
    "a silent upgrade sent elsewhere (/D, no /LOGON) stays in A, keeps the logon start and leaves the portable copy running|portable_then_upgrade|P|A|A|1"
    "through the pages the logon start shows ticked: one click removes it|through_pages|P|A|none|1"
    "the uninstaller closes A's copy, and removes A|installed_then_uninstall|||none|0"
)
for case in "${cases[@]}"; do
    IFS='|' read -r what action expected <<<"$case"
    $action
    wait_for 10 state_is "$expected"
    check "$what" "$expected" "$(state)"
done

check "/S /LOGON lays down the exe, uninstaller and both shortcuts; Apps & features lists it" \
    "yes yes yes yes|Kelm屏幕提示框|the kelm-prompt developers|$VERSION|yes|yes" \
    "$LAID|$(for v in DisplayName Publisher DisplayVersion; do sed -n "s/^$v=//p" "$WORK/entry"; done | paste -sd '|')|$(
    yes_if grep -q '^DisplayIcon=.*kelm-prompt.exe,0$' "$WORK/entry")|$(
    yes_if grep -qE '^EstimatedSize=dword:0*[1-9a-f]' "$WORK/entry")"
check "uninstalled: no files, shortcuts or entry; the settings, saved by the copy it closed, stay" \
    "no no no no|no|0|[文本内容]" \
    "$(laid_down)|$(yes_if test -e "$dir")|$(entry | wc -l)|$(stored _文本内容)"
finish
