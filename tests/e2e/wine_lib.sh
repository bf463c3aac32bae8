# Helpers for the Windows build under Wine, on top of lib.sh: the program runs in a Wine prefix of
# its own (wineprefix-e2e in the build folder) and keeps its settings in that prefix's registry.
RUN=$(realpath "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-run.sh")
export WINEPREFIX=$(dirname "$APP")/wineprefix-e2e WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
REGKEY='HKEY_CURRENT_USER\Software\VB and VBA Program Settings\PUPNAME\APPNAME'

WINE=/usr/lib/wine/wine64
wine_quiet() { "$WINE" "$@" </dev/null >/dev/null 2>&1; }
# A server from another display or run must not serve this one.
wine_restart() { wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; "$RUN" cmd /c exit 0 </dev/null >/dev/null 2>&1; }
set_dpi() { wine_quiet reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f; } # for the next start
wine_cleanup() { wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; cleanup; }
trap wine_cleanup EXIT

fresh_store() { wine_quiet reg delete 'HKCU\Software\VB and VBA Program Settings\PUPNAME' /f; : >"$WORK/seed.reg"; }
seed() { # seed SUFFIX VALUE: written when the program starts
    [ -s "$WORK/seed.reg" ] || printf '[%s]\r\n' "$REGKEY" >"$WORK/seed.reg"
    printf '"Kelm-文本提示框%s"="%s"\r\n' "$1" "$2" >>"$WORK/seed.reg"
}
stored() { # stored SUFFIX: the value as the program wrote it
    wine_quiet regedit /E "$(winepath -w "$WORK/out.reg" 2>/dev/null)" "$REGKEY"
    iconv -f UTF-16LE -t UTF-8 "$WORK/out.reg" 2>/dev/null | tr -d '\r' |
        grep -F "\"Kelm-文本提示框$1\"=" | head -n 1 | sed 's/^[^=]*="\(.*\)"$/\1/'
}

start_app() {
    if [ -s "$WORK/seed.reg" ]; then
        # regedit takes UTF-16 with a byte-order mark for text beyond ASCII.
        { printf '\xff\xfe'; { printf 'Windows Registry Editor Version 5.00\r\n\r\n'; cat "$WORK/seed.reg"; } |
            iconv -f UTF-8 -t UTF-16LE; } >"$WORK/seed.utf16"
        wine_quiet regedit /S "$(winepath -w "$WORK/seed.utf16" 2>/dev/null)"
        : >"$WORK/seed.reg"
    fi
    "$RUN" "$APP" </dev/null >>"$WORK/app.log" 2>&1 &
    APP_PID=$!
    wait_for 20 prompt_window || { echo "FAIL - no prompt window"; cat "$WORK/app.log"; exit 1; }
    WIN=$(prompt_window)
}
close_app() { wine_quiet taskkill /IM "$(basename "$APP")"; app_ends; } # WM_CLOSE
logout() { wine_quiet wineboot --end-session; app_ends; }               # the session ends
