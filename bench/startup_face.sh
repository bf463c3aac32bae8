#!/usr/bin/env bash
# bench/startup_face.sh [PROGRAM...]: the program's start against the floor (bench/floor, a
# minimal Qt 6 window) whose line edit asks for the face the program draws its text in, bold at
# 14.5 points as the prompt's default, all in one X server (Xvfb + openbox):
#   exec to the window mapped, ROUNDS rounds (default 15) in which each program and the floor
#   start once, in an order that turns every round: the medians and their ratio to the floor's;
#   instructions from exec to the settled window (callgrind, dumped 2 s after the map), in all and
#   in Qt's font matching;
#   the files a program opens up to the map and the floor does not, and the other way (strace).
# Several programs (two builds, say) are measured in the same rounds; with BUS=1 on a session bus
# of their own. Prints numbers; not a pass/fail test.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
rounds=${ROUNDS:-15}
[ $# -gt 0 ] || set -- build/kelm-prompt
floor_build=build/bench-floor
cmake -S bench/floor -B "$floor_build" -DCMAKE_BUILD_TYPE=Release >/dev/null &&
    cmake --build "$floor_build" >/dev/null || exit 1
floor=$(realpath "$floor_build/kelm-floor")
face_of=$(realpath "$floor_build/kelm-face")
programs=()
for p in "$@"; do programs+=("$(realpath "$p")"); done
source tests/e2e/lib.sh "$1"
source bench/windows_watch.sh
start_x
# BUS=1: on a session bus of its own, where the program claims its name at every start.
[ -n "${BUS:-}" ] && start_bus
watch_windows

FACE=$(QT_QPA_PLATFORM=offscreen "$face_of" 微软雅黑 2>/dev/null)
floor_index=${#programs[@]}
# command_line I: CMD is the I-th command line, the floor's after the programs'.
command_line() {
    if (($1 == floor_index)); then
        CMD=("$floor" "$FACE" 14.5 bold)
    else
        CMD=("${programs[$1]}")
    fi
}

median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{if (b > 0) printf "%.2f", a / b}'; }

# Waits for the next window mapped, however slow the start (under valgrind, say).
mapped() {
    local _
    for _ in 1 2 3 4 5 6; do
        next_mapped "$1" && return 0
    done
    return 1
}

# to_map COMMAND...: ELAPSED is the ms from exec to its window mapped.
to_map() {
    local t0 pid map
    fresh_store
    forget_windows
    t0=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 &
    pid=$!
    mapped "$t0"
    map=$ELAPSED
    sleep 0.3
    kill -TERM $pid
    wait $pid 2>/dev/null
    ELAPSED=$map
}

# instructions OUT COMMAND...: callgrind from exec to the window settled; INSTR is the total, FONTS
# Qt's font matching (findFont and, within it, the fallback search), inclusive.
instructions() {
    local out=$1 pid w
    shift
    fresh_store
    forget_windows
    valgrind --tool=callgrind --callgrind-out-file="$out" "$@" >/dev/null 2>&1 &
    pid=$!
    mapped "$EPOCHREALTIME" || echo "no window under valgrind"
    sleep 2
    callgrind_control -d $pid >/dev/null 2>&1
    # The dump is made when the program runs: an idle one is woken by a property change.
    if ! wait_for 5 test -s "$out.1"; then
        w=$(xdotool search --onlyvisible --pid $pid | head -n 1)
        xprop -id "$w" -f _KELM_WAKE 32c -set _KELM_WAKE 1
        wait_for 20 test -s "$out.1"
    fi
    kill -TERM $pid
    wait $pid 2>/dev/null
    callgrind_annotate --inclusive=yes "$out.1" >"$out.txt"
    inclusive() { awk -v f="$1" 'index($0, f) {gsub(",", "", $1); print $1; exit}' "$out.txt"; }
    INSTR=$(inclusive "PROGRAM TOTALS")
    FONTS="findFont $(inclusive QFontDatabasePrivate::findFont), fallback search $(inclusive QFontconfigDatabase::fallbacksForFamily)"
}

# opened OUT COMMAND...: the files opened from exec to the map, one a line, sorted, in OUT.
opened() {
    local out=$1 pid t0 until
    shift
    fresh_store
    forget_windows
    t0=$EPOCHREALTIME
    strace -f -qq -ttt -e trace=openat -e status=successful -o "$out.strace" "$@" >/dev/null 2>&1 &
    pid=$!
    mapped "$t0"
    until=$(awk -v a="$t0" -v ms="$ELAPSED" 'BEGIN{printf "%.6f", a + ms / 1000}')
    sleep 0.3
    kill -TERM "$(ps -o pid= --ppid $pid | tr -d ' ')" # the program, not strace
    wait $pid 2>/dev/null
    # Not the program's own store: the floor has none.
    awk -v t="$until" '$2 <= t' "$out.strace" | sed -n 's/.*openat([^"]*"\([^"]*\)".*/\1/p' |
        grep -v "^$WORK" | sort -u >"$out"
}

declare -a times
n=$((floor_index + 1))
for ((round = 0; round < rounds; round++)); do
    for ((k = 0; k < n; k++)); do
        i=$(((round + k) % n))
        command_line "$i"
        to_map "${CMD[@]}"
        times[i]+=" $ELAPSED"
    done
done
echo "Face asked for in place of 微软雅黑: $FACE"
# shellcheck disable=SC2086 # the lists are split on purpose
floor_median=$(median ${times[floor_index]})
echo "exec to mapped (ms), median of $rounds rounds; floor $floor_median"
echo "  floor:${times[floor_index]}"
for ((i = 0; i < floor_index; i++)); do
    # shellcheck disable=SC2086
    m=$(median ${times[i]})
    echo "  ${programs[i]}: $m, ratio to the floor $(ratio "$m" "$floor_median")"
    echo "   ${times[i]}"
done

command_line "$floor_index"
instructions "$WORK/callgrind.floor" "${CMD[@]}"
floor_instr=$INSTR
echo "instructions, exec to the settled window: floor $floor_instr ($FONTS)"
for ((i = 0; i < floor_index; i++)); do
    instructions "$WORK/callgrind.$i" "${programs[i]}"
    echo "  ${programs[i]}: $INSTR, ratio to the floor $(ratio "$INSTR" "$floor_instr") ($FONTS)"
done

command_line "$floor_index"
opened "$WORK/opened.floor" "${CMD[@]}"
echo "files opened from exec to the map: floor $(wc -l <"$WORK/opened.floor")"
for ((i = 0; i < floor_index; i++)); do
    opened "$WORK/opened.$i" "${programs[i]}"
    echo "  ${programs[i]}: $(wc -l <"$WORK/opened.$i")"
    echo "    only the program: $(comm -23 "$WORK/opened.$i" "$WORK/opened.floor" | tr '\n' ' ')"
    echo "    only the floor:   $(comm -13 "$WORK/opened.$i" "$WORK/opened.floor" | tr '\n' ' ')"
done
