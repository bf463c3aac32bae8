#!/usr/bin/env bash
# installer_test.sh BUILD_DIR VERSION: makes the Windows installer and zip with cpack, installs
# silently under Wine in a prefix of its own, starts the installed program and uninstalls it
# silently while it runs.
source "$(dirname "$0")/../e2e/lib.sh" "$1/kelm-prompt.exe"
source "$(dirname "$0")/../e2e/wine_lib.sh"
BUILD=$(realpath "$1")
VERSION=$2
export WINEPREFIX=$BUILD/wineprefix-installer
UNINSTALL='HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall\kelm-prompt'

(cd "$WORK" && cpack -B "$WORK/pkg" --config "$BUILD/CPackConfig.cmake" >"$WORK/cpack.log" 2>&1) || cat "$WORK/cpack.log"
check "the zip holds the exe, its licence and README" \
    "LICENSE.txt README.txt kelm-prompt.exe" \
    "$(cmake -E tar tf "$WORK/pkg/kelm-prompt-$VERSION-win64.zip" | sed 's|.*/||' | sort | xargs)"

start_x
wine_restart
# What an earlier run may have left.
user=$WINEPREFIX/drive_c/users/$(id -un)
menu=$user/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs
dir=$user/AppData/Local/Programs/kelm-prompt
rm -rf "$dir" "$menu/Kelm屏幕提示框.lnk" "$menu/StartUp/Kelm屏幕提示框.lnk"
wine_quiet reg delete "$UNINSTALL" /f
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

"$RUN" "$WORK/pkg/kelm-prompt-$VERSION-win64-setup.exe" /S /LOGON </dev/null >/dev/null 2>&1
check "/S /LOGON installs the exe, the uninstaller and both shortcuts" "yes yes yes yes" "$(laid_down)"
entry >"$WORK/entry"
check "Apps & features lists it with its publisher, version, icon and size" \
    "Kelm屏幕提示框|the kelm-prompt developers|$VERSION|yes|yes" \
    "$(for v in DisplayName Publisher DisplayVersion; do sed -n "s/^$v=//p" "$WORK/entry"; done | paste -sd '|')|$(
    yes_if grep -q '^DisplayIcon=.*kelm-prompt.exe,0$' "$WORK/entry")|$(
    yes_if grep -qE '^EstimatedSize=dword:0*[1-9a-f]' "$WORK/entry")"

APP=$dir/kelm-prompt.exe
start_app
# Uninstalled while it runs: it is closed first. Not through wine-run.sh, whose wineboot would
# start the programs of the Startup folder again.
wine_quiet "$dir/uninstall.exe" /S
wait_for 20 sh -c "! test -e '$dir'" # the uninstaller goes on from a copy of itself
app_ends
check "/S closes the program and removes its files, shortcuts and entry, and keeps its settings" \
    "no no no no|no|0|0|[文本内容]" \
    "$(laid_down)|$(yes_if test -e "$dir")|$(entry | wc -l)|$APP_STATUS|$(stored _文本内容)"
finish
