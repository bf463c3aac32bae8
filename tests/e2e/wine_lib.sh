# On top of lib.sh: the Windows build under Wine, in a prefix of its own, settings in its registry.
RUN=$(realpath "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-run.sh")
export WINEPREFIX=$(dirname "$APP")/wineprefix-e2e WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
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

start_app() { # start_app [ARGUMENTS...]
    if [ -s "$WORK/seed.reg" ]; then
        # regedit takes UTF-16 with a byte-order mark for text beyond ASCII.
        { printf '\xff\xfe'; { printf 'Windows Registry Editor Version 5.00\r\n\r\n'; cat "$WORK/seed.reg"; } |
            iconv -f UTF-8 -t UTF-16LE; } >"$WORK/seed.utf16"
        wine_quiet regedit /S "$(winepath -w "$WORK/seed.utf16" 2>/dev/null)"
        : >"$WORK/seed.reg"
    fi
    "$RUN" "$APP" "$@" </dev/null >>"$WORK/app.log" 2>&1 &
    APP_PID=$!
    wait_for 20 prompt_window || { echo "FAIL - no prompt window"; cat "$WORK/app.log"; exit 1; }
    WIN=$(prompt_window)
}
close_app() { wine_quiet taskkill /IM "$(basename "$APP")"; app_ends; } # WM_CLOSE
logout() { wine_quiet wineboot --end-session; app_ends; }               # the session ends

# Wine draws menus in the system's fonts, a box for each character they lack: whether the first two
# of the N characters of the region's last group of ink (past any icon) differ.
first_glyphs_differ() { # first_glyphs_differ GEOMETRY N
    local ink=$WORK/ink.png w h x0 x1 cell d ae best=
    import -window root "$WORK/shot.png"
    convert "$WORK/shot.png" -crop "$1" +repage -colorspace gray -threshold 70% -negate "$ink"
    read -r w h <<<"$(identify -format '%w %h' "$ink")"
    read -r x0 x1 <<<"$(convert "$ink" -scale "${w}x1!" -threshold 0 txt:- | awk -F'[,:]' '
        BEGIN { last = -100 } /#FFFFFF/ { x = $1; if (x - last > 6) start = x; last = x }
        END { if (last >= 0) print start, last }')"
    [ -n "$x1" ] || { echo "no ink"; return; }
    cell=$(((x1 - x0 + 1 + $2 / 2) / $2))
    convert "$ink" -crop "$((x1 - x0 + 1))x$h+$x0+0" +repage -trim +repage "$WORK/text.png"
    h=$(identify -format '%h' "$WORK/text.png")
    convert "$WORK/text.png" -crop "$((cell - 2))x$h+0+0" +repage "$WORK/first.png"
    # The second character, allowing for the rounding of the first one's width.
    for d in -2 -1 0 1 2; do
        convert "$WORK/text.png" -crop "$((cell - 2))x$h+$((cell + d))+0" +repage "$WORK/second.png"
        ae=$(compare -metric AE "$WORK/first.png" "$WORK/second.png" null: 2>&1)
        [[ "$ae" =~ ^[0-9]+$ ]] && { [ -z "$best" ] || [ "$ae" -lt "$best" ]; } && best=$ae
    done
    above "${best:-0}" $((cell * h / 10))
}
