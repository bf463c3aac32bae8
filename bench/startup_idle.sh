#!/usr/bin/env bash
# bench/startup_idle.sh [PROGRAM] [RUNS]: time from exec to the prompt window being mapped and from
# SIGTERM to the process's end, and peak memory, against a floor (a minimal Qt 6 window of the
# same size that this script builds), the two run alternately; then what the program does while
# nobody touches it (CPU time and context switches over 3 seconds: an idle program shows none).
# Runs in Xvfb with openbox. Not a pass/fail test: it prints numbers to compare between builds.
set -uo pipefail
cd "$(dirname "$0")/.."
runs=${2:-15}
floor_build=build/bench-floor
cmake -S bench/floor -B "$floor_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
    cmake --build "$floor_build" >/dev/null || exit 1
FLOOR=$(realpath "$floor_build/kelm-floor")
source tests/e2e/lib.sh "${1:-build/kelm-prompt}"
start_x

now_us() { date +%s%6N; }
mapped() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}'; }
ms() { echo "$((($2 - $1) / 1000)).$(((($2 - $1) % 1000) / 100))"; }

# The window manager lists a window as it maps it: one watcher reports each change of that list,
# so nothing is started or polled while a program starts.
coproc SPY { stdbuf -oL xprop -spy -root _NET_CLIENT_LIST; }
read -r -t 5 _ <&"${SPY[0]}"

# measure PROGRAM: prints "ms-to-map ms-to-exit peak-kB"
measure() {
    local t0 t1 t2 t3 pid rss
    t0=$(now_us)
    "$1" >/dev/null 2>&1 &
    pid=$!
    read -r -t 10 _ <&"${SPY[0]}"
    t1=$(now_us)
    rss=$(awk '/VmHWM/{print $2}' /proc/$pid/status)
    t2=$(now_us)
    kill -TERM $pid
    wait $pid 2>/dev/null
    t3=$(now_us)
    read -r -t 10 _ <&"${SPY[0]}" # the window leaves the list
    echo "$(ms "$t0" "$t1") $(ms "$t2" "$t3") $rss"
}

declare -a pm pe pr fm fe fr
for ((run = 0; run < runs; run++)); do
    fresh_store
    read -r m e r <<<"$(measure "$APP")"
    pm+=("$m"); pe+=("$e"); pr+=("$r")
    read -r m e r <<<"$(measure "$FLOOR")"
    fm+=("$m"); fe+=("$e"); fr+=("$r")
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", a / b}'; }
printf '%-22s %10s %10s %7s\n' "median of $runs runs" program floor ratio
for row in "exec to mapped (ms)|${pm[*]}|${fm[*]}" "TERM to exit (ms)|${pe[*]}|${fe[*]}" "peak RSS (kB)|${pr[*]}|${fr[*]}"; do
    IFS='|' read -r name p f <<<"$row"
    # shellcheck disable=SC2086 # the lists are split on purpose
    a=$(median $p) b=$(median $f)
    printf '%-22s %10s %10s %7s\n' "$name" "$a" "$b" "$(ratio "$a" "$b")"
done
echo "program to mapped, all runs (ms): ${pm[*]}"
echo "floor to mapped, all runs (ms):   ${fm[*]}"
kill "$SPY_PID" 2>/dev/null

fresh_store
"$APP" >/dev/null 2>&1 &
APP_PID=$!
wait_for 10 mapped '^Kelm屏幕提示框$'
sleep 0.5
read -r u1 s1 <<<"$(awk '{print $14, $15}' /proc/$APP_PID/stat)"
c1=$(awk '/^voluntary_ctxt_switches/{print $2}' /proc/$APP_PID/status)
sleep 3
read -r u2 s2 <<<"$(awk '{print $14, $15}' /proc/$APP_PID/stat)"
c2=$(awk '/^voluntary_ctxt_switches/{print $2}' /proc/$APP_PID/status)
stop_app TERM
echo "idle for 3 s: $((u2 + s2 - u1 - s1)) clock ticks of CPU, $((c2 - c1)) voluntary context switches"
