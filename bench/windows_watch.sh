# shellcheck shell=bash
# Sourced by the benches and the e2e tests: one long-running watcher of the root window's children
# (xev), started before anything is timed, reports each top-level window that appears on the screen
# or leaves it, stamped with the time it saw the event. Nothing is polled while a program starts or
# ends.
#   watch_windows             starts the watcher (DISPLAY set, nothing mapped yet)
#   next_mapped T0            waits for the next top-level window to be mapped: ELAPSED is the ms
#                             from T0 to it
#   all_gone T0               waits until every window mapped since forget_windows has left the
#                             screen: ELAPSED is the ms from T0 to the last one's going
#   forget_windows            drops what was reported so far (between runs)
# Times are $EPOCHREALTIME values ("seconds.microseconds"); ELAPSED is "timeout" after 20 s.
# Call these in the script's own shell, not in $(...): they keep the mapped windows in WATCHED.

declare -A WATCHED=()
ELAPSED=

# A window manager reparents each client into a frame of its own: a frame's MapNotify on the root
# is the moment the window shows, its UnmapNotify or DestroyNotify the moment it goes (a client
# killed outright never unmaps itself). Synthetic events (a client withdrawing its own window)
# name the client, not what is on the screen, and are skipped.
watch_windows() {
    coproc WATCH {
        kind=
        stdbuf -oL xev -root -event substructure 2>/dev/null | while IFS= read -r line; do
            case $line in
            MapNotify*"synthetic NO"* | UnmapNotify*"synthetic NO"* | DestroyNotify*"synthetic NO"*)
                at=$EPOCHREALTIME kind=${line%% *} ;;
            *" window 0x"*)
                if [ -n "$kind" ]; then
                    line=${line#* window }
                    echo "$kind ${line%%,*} $at"
                fi
                kind= ;;
            *) kind= ;;
            esac
        done
    }
    sleep 0.5 # for xev to select its events
}

elapsed_ms() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.1f", (b - a) * 1000}'; } # elapsed_ms FROM TO

next_mapped() {
    local kind win at
    while read -r -t 20 kind win at <&"${WATCH[0]}"; do
        if [ "$kind" = MapNotify ]; then
            WATCHED[$win]=1
            ELAPSED=$(elapsed_ms "$1" "$at")
            return 0
        fi
    done
    ELAPSED=timeout
    return 1
}

# Drops what is left of the last run (a frame destroyed after its unmapping, say) without waiting.
forget_windows() {
    local kind win at
    while read -r -t 0.05 kind win at <&"${WATCH[0]}"; do :; done
    WATCHED=()
}

# Events arrive in order: a window mapped before the end was asked for is known before any goes.
all_gone() {
    local kind win at last=
    while { [ -z "$last" ] || [ ${#WATCHED[@]} -gt 0 ]; } && read -r -t 20 kind win at <&"${WATCH[0]}"; do
        case $kind in
        MapNotify) WATCHED[$win]=1 ;;
        *) [ -n "${WATCHED[$win]:-}" ] && unset "WATCHED[$win]" && last=$at ;;
        esac
    done
    if [ ${#WATCHED[@]} -gt 0 ] || [ -z "$last" ]; then
        ELAPSED=timeout
        return 1
    fi
    ELAPSED=$(elapsed_ms "$1" "$last")
}
