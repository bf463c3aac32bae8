#!/usr/bin/env bash
# bench/startup_idle.sh [PROGRAM] [RUNS]: how fast the prompt window comes and goes, against a
# floor (a minimal Qt 6 window of the same size that simply dies at SIGTERM, built here), the two
# run alternately in the same X server (Xvfb + openbox):
#   exec to the window mapped; SIGTERM to the last window unmapped (what the user sees);
#   SIGTERM to the process's end (with the program's save and its fsyncs); peak memory.
# Then the same while another process writes and fsyncs a large file on the settings' filesystem
# (a busy or slow disk), and what the program does while nobody touches it (CPU time and context
# switches over 3 seconds: an idle program shows none). Prints numbers; not a pass/fail test.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
runs=${2:-15}
floor_build=build/bench-floor
cmake -S bench/floor -B "$floor_build" -DCMAKE_BUILD_TYPE=Release >/dev/null &&
    cmake --build "$floor_build" --target kelm-floor >/dev/null || exit 1
FLOOR=$(realpath "$floor_build/kelm-floor")
source tests/e2e/lib.sh "${1:-build/kelm-prompt}"
source bench/windows_watch.sh
start_x
watch_windows

median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{if (b > 0) printf "%.2f", a / b}'; }

# measure PROGRAM: sets RESULT to "ms-to-map ms-to-gone ms-to-exit peak-kB"
measure() {
    local t0 t1 t2 map pid rss
    forget_windows
    t0=$EPOCHREALTIME
    "$1" >/dev/null 2>&1 &
    pid=$!
    next_mapped "$t0"
    map=$ELAPSED
    sleep 0.5 # the first paint and whatever follows the map are over
    rss=$(awk '/VmHWM/{print $2}' /proc/$pid/status)
    t1=$EPOCHREALTIME
    kill -TERM $pid
    wait $pid 2>/dev/null
    t2=$EPOCHREALTIME
    all_gone "$t1"
    RESULT="$map $ELAPSED $(elapsed_ms "$t1" "$t2") $rss"
}

# table TITLE: both programs RUNS times, alternately, and the medians side by side.
table() {
    local -a pm pg pe pr fm fg fe fr
    local run m g e r
    for ((run = 0; run < runs; run++)); do
        fresh_store
        measure "$APP"
        read -r m g e r <<<"$RESULT"
        pm+=("$m") pg+=("$g") pe+=("$e") pr+=("$r")
        measure "$FLOOR"
        read -r m g e r <<<"$RESULT"
        fm+=("$m") fg+=("$g") fe+=("$e") fr+=("$r")
    done
    echo "$1, median of $runs runs:"
    printf '  %-32s %10s %10s %7s\n' "" program floor ratio
    local row name p f a b
    for row in "exec to mapped (ms)|${pm[*]}|${fm[*]}" "TERM to last window unmapped (ms)|${pg[*]}|${fg[*]}" \
        "TERM to process ended (ms)|${pe[*]}|${fe[*]}" "peak RSS (kB)|${pr[*]}|${fr[*]}"; do
        IFS='|' read -r name p f <<<"$row"
        # shellcheck disable=SC2086 # the lists are split on purpose
        a=$(median $p) b=$(median $f)
        printf '  %-32s %10s %10s %7s\n' "$name" "$a" "$b" "$(ratio "$a" "$b")"
    done
    echo "  program, TERM to unmapped, all runs (ms): ${pg[*]}"
    echo "  program, TERM to ended, all runs (ms):    ${pe[*]}"
    echo "  floor, TERM to unmapped, all runs (ms):   ${fg[*]}"
}

table "Quiet disk"

# The load: a file of up to LOAD_MB written and fsynced over and over beside the settings, for
# at most 10 minutes; removed at the end.
LOAD_MB=$(df -Pm "$WORK" | awk 'NR == 2 {m = int($4 / 8); print (m < 512 ? m : 512)}')
load_disk() {
    while :; do
        dd if=/dev/zero of="$WORK/load" bs=1M count="$LOAD_MB" conv=fsync status=none || break
    done
}
# Its own process group, so that the write under way ends with it.
setsid timeout 600 bash -c "$(declare -f load_disk); WORK='$WORK' LOAD_MB=$LOAD_MB load_disk" &
LOAD_PID=$!
trap 'kill -- -$LOAD_PID 2>/dev/null; cleanup' EXIT
sleep 2 # the page cache is being written back by now
table "Loaded disk (another process writing and fsyncing ${LOAD_MB} MB files on the settings' filesystem)"
kill -- -"$LOAD_PID" 2>/dev/null
wait "$LOAD_PID" 2>/dev/null
trap cleanup EXIT
rm -f "$WORK/load"

fresh_store
"$APP" >/dev/null 2>&1 &
APP_PID=$!
wait_for 10 prompt_window
sleep 0.5
read -r u1 s1 <<<"$(awk '{print $14, $15}' /proc/$APP_PID/stat)"
c1=$(awk '/^voluntary_ctxt_switches/{print $2}' /proc/$APP_PID/status)
sleep 3
read -r u2 s2 <<<"$(awk '{print $14, $15}' /proc/$APP_PID/stat)"
c2=$(awk '/^voluntary_ctxt_switches/{print $2}' /proc/$APP_PID/status)
stop_app TERM
echo "idle for 3 s: $((u2 + s2 - u1 - s1)) clock ticks of CPU, $((c2 - c1)) voluntary context switches"
