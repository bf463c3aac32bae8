#!/usr/bin/env bash
# wine-run.sh PROGRAM.exe [ARGS]: runs a Windows program under Wine in the build's own prefix
# (WINEPREFIX, or wineprefix/ in the build folder that holds the program), with the Chinese font
# replacements the program's windows need. The exit code is the program's.
set -uo pipefail
exe=$1
shift
if [ -z "${WINEPREFIX:-}" ]; then
    dir=$(cd "$(dirname "$exe")" && pwd)
    while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
    export WINEPREFIX=$dir/wineprefix
fi
# No Mono or Gecko prompts, and no menu entries in the desktop of whoever runs it.
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine

fonts_reg() {
    # 微软雅黑 and the dialogs' Tahoma draw Chinese with WenQuanYi Micro Hei.
    printf '\xff\xfe'
    iconv -f UTF-8 -t UTF-16LE <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"微软雅黑"="WenQuanYi Micro Hei"
"宋体"="WenQuanYi Micro Hei"
"黑体"="WenQuanYi Micro Hei"
"楷体"="WenQuanYi Micro Hei"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]
"Tahoma"=hex(7):77,00,71,00,79,00,2d,00,6d,00,69,00,63,00,72,00,6f,00,68,00,65,00,69,00,2e,00,74,00,74,00,63,00,2c,00,57,00,65,00,6e,00,51,00,75,00,61,00,6e,00,59,00,69,00,20,00,4d,00,69,00,63,00,72,00,6f,00,20,00,48,00,65,00,69,00,00,00,00,00
REG
}

mkdir -p "$WINEPREFIX"
(
    flock 9
    # The first Wine program of a server session starts Wine's services, which keep its standard
    # streams open: a reader of a pipe would wait for the server to exit. So the check of the links
    # below runs first, every time (the server may be on its way out), with a file, not a pipe, for
    # its output. Not wineboot, which starts them too: on a prefix that exists, Wine takes it for a
    # logon and starts what the Startup folder holds, another copy of an installed program.
    wineserver -p </dev/null >/dev/null 2>&1 9>&-
    # The links are checked at every start: a prefix being made writes its own for a while, and a
    # program whose manifest asks for another code page makes Wine write them again. Done when
    # ours are read back.
    linked() {
        "$wine" reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
            /v Tahoma </dev/null >"$WINEPREFIX/kelm-links.txt" 2>/dev/null 9>&-
        grep -q wqy-microhei "$WINEPREFIX/kelm-links.txt"
    }
    if ! linked; then
        fonts_reg >"$WINEPREFIX/kelm-fonts.reg"
        for _ in 1 2 3 4 5; do
            "$wine" regedit /S "$(winepath -w "$WINEPREFIX/kelm-fonts.reg" 2>/dev/null)" \
                </dev/null >/dev/null 2>&1 9>&-
            sleep 1
            linked && break
        done
    fi
) 9>"$WINEPREFIX.lock"
exec "$wine" "$exe" "$@"
