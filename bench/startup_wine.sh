#!/usr/bin/env bash
# bench/startup_wine.sh [PROGRAM.exe]: the Windows build under Wine: time from exec to the prompt
# window being mapped (median of 5, the Wine server and its services already up), the exe's size
# and imported DLLs, and its CPU time while idle for 3 seconds. Prints numbers; not a test.
set -uo pipefail
cd "$(dirname "$0")/.."
source tests/e2e/lib.sh "${1:-build-win32/kelm-prompt.exe}"
source tests/e2e/wine_lib.sh
start_x
wine_restart

now_ms() { date +%s%3N; }
times=()
for run in 1 2 3 4 5; do
    fresh_store
    t0=$(now_ms)
    "$WINE" "$APP" </dev/null >/dev/null 2>&1 &
    APP_PID=$!
    until prompt_window >/dev/null; do sleep 0.002; done
    times+=($(($(now_ms) - t0)))
    if [ $run -eq 5 ]; then
        sleep 0.5
        read -r u1 s1 <<<"$(awk '{print $14, $15}' /proc/$APP_PID/stat)"
        sleep 3
        read -r u2 s2 <<<"$(awk '{print $14, $15}' /proc/$APP_PID/stat)"
    fi
    close_app
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
echo "start-up to mapped under Wine: median ${median} ms (runs: ${times[*]})"
echo "exe: $(stat -c %s "$APP") bytes; imports: $(x86_64-w64-mingw32-objdump -p "$APP" | awk '/DLL Name/{printf "%s ", $3}')"
echo "idle for 3 s: $((u2 + s2 - u1 - s1)) clock ticks of CPU"
