#!/usr/bin/env bash
# bench/startup_wine.sh [PROGRAM.exe...]: the Windows build under Wine (Xvfb + openbox, one warm
# Wine server with its services up) against a floor built here with mingw-w64 from
# bench/floor/win32_floor.cpp (a bare topmost layered popup with one edit box in a Chinese face
# and one registry value read), and the same floor with the common controls' visual styles in its
# manifest (they make the edit box theirs; the program loads them for its other windows only).
# The programs (two builds to compare, say) and the floors are started in turn, RUNS times
# (default 11):
#   exec to the window mapped, and the CPU time the process had used by then;
#   WM_CLOSE to the window gone; WM_CLOSE to the process ended;
# then each exe's size, imported DLLs and the DLLs loaded by the time its window shows, and the
# first one's CPU time while idle for 3 seconds.
# The programs share the first one's Wine prefix. Prints numbers; not a pass/fail test.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
runs=${RUNS:-11}
[ $# -gt 0 ] || set -- build-win32/kelm-prompt.exe
programs=()
for p in "$@"; do programs+=("$(realpath "$p")"); done
source tests/e2e/lib.sh "$1"
source tests/e2e/wine_lib.sh
source bench/windows_watch.sh

FLOORS=$WORK/floor
mkdir -p "$FLOORS"
cxx() { x86_64-w64-mingw32-g++-posix -std=c++20 -Wall -Wextra -Os -s -static -municode "$@"; }
printf '#include <windows.h>\nCREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST "%s"\n' \
    "$PWD/src/toolkit/win32/visual-styles.manifest" >"$FLOORS/manifest.rc"
cxx -mwindows bench/floor/win32_floor.cpp -o "$FLOORS/win32_floor.exe" &&
    x86_64-w64-mingw32-windres "$FLOORS/manifest.rc" -O coff -o "$FLOORS/manifest.o" &&
    cxx -mwindows bench/floor/win32_floor.cpp "$FLOORS/manifest.o" -o "$FLOORS/floor_styled.exe" &&
    cxx bench/floor/win32_close.cpp -o "$FLOORS/win32_close.exe" || exit 1

start_x
wine_restart
fresh_store
watch_windows

median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{if (b > 0) printf "%.2f", a / b}'; }
cpu_ms() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ns += $1} END{printf "%.1f", ns / 1e6}'; }

# measure EXE TITLE: sets RESULT to "ms-to-map cpu-ms-to-map ms-to-gone ms-to-exit"
measure() {
    local t0 t1 t2 map cpu pid us
    forget_windows
    t0=$EPOCHREALTIME
    "$WINE" "$1" </dev/null >/dev/null 2>&1 &
    pid=$!
    next_mapped "$t0"
    cpu=$(cpu_ms $pid)
    map=$ELAPSED
    sleep 0.5 # the first paint and whatever follows the map are over
    us=$("$WINE" "$FLOORS/win32_close.exe" "$2" 2>/dev/null | tr -d '\r')
    if [ -z "$us" ]; then
        kill $pid
        wait $pid 2>/dev/null
        RESULT="$map $cpu none none"
        return
    fi
    t1=${us:0:-6}.${us: -6}
    wait $pid 2>/dev/null
    t2=$EPOCHREALTIME
    all_gone "$t1"
    RESULT="$map $cpu $ELAPSED $(elapsed_ms "$t1" "$t2")"
}

columns=("${programs[@]}" "$FLOORS/floor_styled.exe" "$FLOORS/win32_floor.exe")
names=("${programs[@]##*/}" "floor + visual styles" floor)
n=$((${#columns[@]} - 1)) # the floor's column
declare -A results=() # [column,row] = the runs' figures
for ((run = 0; run < runs; run++)); do
    for ((i = 0; i <= n; i++)); do
        if [ "$i" -lt ${#programs[@]} ]; then measure "${columns[i]}" Kelm屏幕提示框
        else measure "${columns[i]}" kelm-floor; fi
        read -r -a figures <<<"$RESULT"
        for row in 0 1 2 3; do results[$i,$row]+="${figures[row]} "; done
    done
done

# On a shared machine a run may be slowed by others' work: the fastest run shows the cost of the
# program's own work.
fastest() { printf '%s\n' "$@" | sort -n | head -n 1; }
echo "Under Wine, $runs runs each (ratio: to the floor):"
printf '  %-34s' ""
for name in "${names[@]}"; do printf ' %22s' "$name"; done
echo
rows=("exec to mapped (ms)" "CPU used by then (ms)" "WM_CLOSE to window gone (ms)" "WM_CLOSE to process ended (ms)")
for line in "median 0" "median 1" "median 2" "median 3" "fastest 0" "fastest 1"; do
    read -r stat row <<<"$line"
    printf '  %-34s' "$stat ${rows[row]}"
    # shellcheck disable=SC2086 # the lists are split on purpose
    floor=$($stat ${results[$n,$row]})
    for ((i = 0; i <= n; i++)); do
        # shellcheck disable=SC2086
        m=$($stat ${results[$i,$row]})
        if [ "$i" -lt "$n" ]; then printf ' %15s (%4s)' "$m" "$(ratio "$m" "$floor")"; else printf ' %22s' "$m"; fi
    done
    echo
done
# Others' work drifts during a bench: the ratio of each run to the floor started beside it is
# steadier than the ratio of the medians.
paired() { # paired COLUMN ROW: the median of the runs' own ratios to the floor
    local -a mine floors ratios=()
    read -r -a mine <<<"${results[$1,$2]}"
    read -r -a floors <<<"${results[$n,$2]}"
    for ((run = 0; run < runs; run++)); do ratios+=("$(ratio "${mine[run]}" "${floors[run]}")"); done
    median "${ratios[@]}"
}
for row in 0 1; do
    printf '  %-34s' "median run's ratio, ${rows[row]% (ms)}"
    for ((i = 0; i < n; i++)); do printf ' %22s' "$(paired $i $row)"; done
    echo
done
for ((i = 0; i <= n; i++)); do
    echo "  ${names[i]}, all runs: to mapped (ms): ${results[$i,0]}; CPU (ms): ${results[$i,1]}"
done

# LOADED: the DLLs a program has loaded once its window shows, as Wine's loader reports them.
loaded_at_start() {
    forget_windows
    WINEDEBUG=+pid,+loaddll "$WINE" "$1" </dev/null >/dev/null 2>"$WORK/loaddll" &
    local pid=$! t0=$EPOCHREALTIME
    next_mapped "$t0"
    cp "$WORK/loaddll" "$WORK/loaddll.mapped"
    sleep 0.5
    "$WINE" "$FLOORS/win32_close.exe" Kelm屏幕提示框 >/dev/null 2>&1 || kill $pid
    wait $pid 2>/dev/null
    # Lines such as: PID:TID:trace:loaddll:...Loaded L"C:\\windows\\system32\\user32.dll" at ...
    # from the program's process, not from Wine's own it may start (explorer.exe).
    local exe=${1##*/} process
    process=$(grep -F -m 1 "\\$exe\"" "$WORK/loaddll.mapped" | cut -d: -f1)
    LOADED=$(grep "^$process:" "$WORK/loaddll.mapped" | sed -n 's/.*Loaded L"\([^"]*\)".*/\1/p' |
        sed 's/.*\\//' | tr 'A-Z' 'a-z' | sort -u | tr '\n' ' ')
}
for p in "${programs[@]}"; do
    echo "${p##*/}: $(stat -c %s "$p") bytes; imports: $(x86_64-w64-mingw32-objdump -p "$p" | awk '/DLL Name/{printf "%s ", $3}')"
    loaded_at_start "$p"
    echo "  loaded by the time its window shows: $LOADED"
done
"$WINE" "$APP" </dev/null >/dev/null 2>&1 &
APP_PID=$!
wait_for 10 prompt_window
sleep 0.5
read -r u1 s1 <<<"$(awk '{print $14, $15}' /proc/$APP_PID/stat)"
sleep 3
read -r u2 s2 <<<"$(awk '{print $14, $15}' /proc/$APP_PID/stat)"
close_app
echo "${names[0]} idle for 3 s: $((u2 + s2 - u1 - s1)) clock ticks of CPU"
