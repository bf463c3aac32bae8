#!/usr/bin/env bash
# win32_remote_e2e.sh kelm-prompt.exe remote-probe.exe: one prompt per session, each command from
# another process as the shell sees it, and requests no command would send.
PROBE=$(realpath "$2")
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wine_lib.sh"
start_x
wine_restart
set_dpi 96

APP_WINE=$(winepath -w "$APP" 2>/dev/null)
probe() { "$RUN" "$PROBE" "$@" </dev/null 2>/dev/null; } # probe MODE ARGS...: its output
# kelm ARGS...: the command's output; one that started a prompt instead is ended after 20 s
kelm() { timeout 20 "$RUN" "$APP" "$@" </dev/null 2>>"$WORK/stderr"; }
status() { kelm "$@" >/dev/null; echo $?; } # status ARGS...: its exit status
hex() { od -An -tx1 | tr -d ' \n'; }        # the bytes of the standard input
text() { kelm --get-text | tr -d '\r'; }     # the prompt's text

fresh_store
check "no prompt: --get-text and --hide exit 1, an unknown option and an unpaired surrogate in TEXT 2" \
    "1 1 2 2" "$(status --get-text) $(status --hide) $(status --colour=red) \
$(probe spawn "$APP_WINE" x >/dev/null; echo $?)"
check "and say why on standard error" "kelm-prompt: 没有运行中的提示框 (no prompt is running)" \
    "$(head -n 1 "$WORK/stderr" | tr -d '\r')"

"$RUN" "$APP" </dev/null >>"$WORK/app.log" 2>&1 &
other=$!
start_app
wait_for 10 sh -c "! kill -0 $APP_PID 2>/dev/null || ! kill -0 $other 2>/dev/null"
kill -0 "$APP_PID" 2>/dev/null || read -r APP_PID other <<<"$other $APP_PID"
ended=running
if kill -0 "$other" 2>/dev/null; then kill "$other"; else wait "$other"; ended=$?; fi
check "of two starts at once one exits 0, and one prompt window stays" "0 1" "$ended $(prompts)"

check "--text exits 0" 0 "$(status --text '远程 text')"
check "--get-text writes the text and a Windows line end to a pipe" \
    "$(printf '远程 text\r\n' | hex)" "$(kelm --get-text | hex)"
check "--get-text not redirected writes to the console it was run from" "远程 text" \
    "$(probe console "$APP_WINE" --get-text | tr -d '\r')"
before=$(geometry "$WIN")
check "--hide unmaps the window" "0 IsUnMapped" "$(status --hide) $(mapped IsUnMapped)"
check "--show maps it again at the same place and size" "0 IsViewable $before" \
    "$(status --show) $(mapped IsViewable) $(geometry "$WIN")"
status --lock >/dev/null
double_click
check "locked, a double-click on the caption goes through and leaves the text" "远程 text" "$(text)"
status --unlock >/dev/null
double_click
check "unlocked again, the double-click reaches it and clears the text" "" "$(text)"
status --text $'一行\r\n二行' >/dev/null
check "TEXT is taken as a paste into the box takes it: up to the line break" \
    "$(printf '一行\r\n' | hex)" "$(kelm --get-text | hex)"

check "requests no command sends are refused, each one" 0 \
    "$(probe malformed >"$WORK/probe.log"; echo $?)"
grep FAIL "$WORK/probe.log"
check "and change nothing" "一行 IsViewable" "$(text) $(mapped IsViewable)"

status --hide >/dev/null
status --lock >/dev/null
check "a plain start while the prompt runs exits 0" 0 "$(status)"
check "and shows the one prompt, in place" "1 IsViewable $before" \
    "$(prompts) $(mapped IsViewable) $(geometry "$WIN")"
double_click
check "unlocked" "" "$(text)"

status --text "退出前" >/dev/null
status --hide >/dev/null
check "--quit exits 0" 0 "$(status --quit)"
app_ends
check "the hidden prompt ended and saved its text" "0 退出前" "$APP_STATUS $(stored _文本内容)"

start_app --text $'开始\n第二行'
check "--text with no prompt running starts one with the text's first line" "开始" "$(text)"
status --quit >/dev/null
app_ends
check "which ends on --quit" 0 "$APP_STATUS"

seed _文本内容 "$(printf '%040000d' 0)"
start_app
check "--get-text writes all of a stored text longer than a command may give" 40002 "$(kelm --get-text | wc -c)"
status --quit >/dev/null
app_ends
finish
