#!/usr/bin/env bash
# bench/startup_idle.sh [PROGRAM]: time from exec to the prompt window being mapped (median of
# 5 runs), time from SIGTERM to the process gone (its save included), peak memory, and what the program does while nobody touches it (CPU time and context
# switches over 3 seconds: an idle program should show none). Runs in Xvfb with openbox.
# Not a pass/fail test: it prints numbers to compare between builds.
set -uo pipefail
cd "$(dirname "$0")/.."
source tests/e2e/lib.sh "${1:-build/kelm-prompt}"
start_x

now_ms() { date +%s%3N; }
mapped() { xdotool search --onlyvisible --name '^Kelm屏幕提示框$' >/dev/null 2>&1; }

times=()
exits=() # tenths of a millisecond
for run in 1 2 3 4 5; do
    fresh_store
    t0=$(now_ms)
    "$APP" >/dev/null 2>&1 &
    APP_PID=$!
    until mapped; do sleep 0.002; done
    times+=($(($(now_ms) - t0)))
    rss=$(awk '/VmHWM/{print $2}' /proc/$APP_PID/status)
    if [ $run -eq 5 ]; then
        sleep 0.5
        read -r u1 s1 <<<"$(awk '{print $14, $15}' /proc/$APP_PID/stat)"
        c1=$(awk '/^voluntary_ctxt_switches/{print $2}' /proc/$APP_PID/status)
        sleep 3
        read -r u2 s2 <<<"$(awk '{print $14, $15}' /proc/$APP_PID/stat)"
        c2=$(awk '/^voluntary_ctxt_switches/{print $2}' /proc/$APP_PID/status)
    fi
    sleep 0.2 # the first paint is over
    t0=$(date +%s%N)
    kill -TERM $APP_PID
    wait $APP_PID
    exits+=($((($(date +%s%N) - t0) / 100000)))
    APP_PID=
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
echo "start-up to mapped: median ${median} ms (runs: ${times[*]}; includes up to 2 ms of polling)"
exit_median=$(printf '%s\n' "${exits[@]}" | sort -n | sed -n 3p)
echo "SIGTERM to exit, with the save: median $((exit_median / 10)).$((exit_median % 10)) ms (runs, 0.1 ms: ${exits[*]})"
echo "peak RSS: ${rss} kB"
echo "idle for 3 s: $((u2 + s2 - u1 - s1)) clock ticks of CPU, $((c2 - c1)) voluntary context switches"
