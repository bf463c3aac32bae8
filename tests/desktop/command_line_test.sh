#!/usr/bin/env bash
# command_line_test.sh PROGRAM VERSION: what the program answers on its command line, with no
# display and no session bus.
set -uo pipefail
app=$1
failed=0
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
err=$(mktemp)
trap 'rm -f "$err"' EXIT
# arguments | exit code | a line its output must hold (stdout for 0, stderr otherwise)
rows=(
    "--help|0|  --text TEXT    运行中的提示框显示 TEXT (the running prompt shows TEXT)"
    "-v|0|kelm-prompt $2"
    "--version|0|许可证 (license): MIT"
    "--version --xbogus --bogus=1|2|kelm-prompt: 未知选项 (unknown option) --xbogus"
    "-platform|2|kelm-prompt: 选项缺少值 (missing value): -platform"
    "--text x|1|kelm-prompt: 无法联系提示框 (the prompt cannot be reached): 没有会话总线 (no session bus)"
)
for row in "${rows[@]}"; do
    IFS='|' read -r args code line <<<"$row"
    # shellcheck disable=SC2086 # the arguments are split on purpose
    out=$(timeout 10 "$app" $args 2>"$err")
    rc=$?
    [ "$code" != 0 ] && out=$(cat "$err")
    if [ "$rc" == "$code" ] && grep -qxF -- "$line" <<<"$out"; then echo "ok   - $args"; else
        printf 'FAIL - %s: exit %s (expected %s), output:\n%s\n' "$args" "$rc" "$code" "$out" && failed=1
    fi
done

# Wayland alone: the program says once what cannot work there, and what Debian package is missing.
said=$(WAYLAND_DISPLAY=wayland-kelm-absent timeout 10 "$app" 2>&1)
hint=1
dpkg-query -W -f='${Status}' qt6-wayland 2>/dev/null | grep -q 'ok installed' && hint=0
notes="$(grep -c '^kelm-prompt: Wayland only:' <<<"$said") $(grep -c 'install the qt6-wayland package' <<<"$said")"
if [ "$notes" == "1 $hint" ]; then echo "ok   - Wayland alone"; else echo "FAIL - Wayland alone: said $notes times"; failed=1; fi
exit $failed
