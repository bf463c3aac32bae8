#!/usr/bin/env bash
# bench/remote_text.sh [PROGRAM] [PAIRS]: how long a command to the running prompt takes, from
# exec to the command's end (it ends once the prompt has applied the text): `kelm-prompt --text`
# against `gdbus call` of the same method, alternately, on a session bus of its own with the prompt
# in Xvfb + openbox. Prints the medians and their ratio; not a pass/fail test.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
pairs=${2:-31}
source tests/e2e/lib.sh "${1:-build/kelm-prompt}"
start_x
start_bus
fresh_store
start_app

median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}'; }
elapsed_ms() { # elapsed_ms COMMAND...: wall time of the command in milliseconds
    local t0=$EPOCHREALTIME
    "$@" >/dev/null 2>&1
    awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN{printf "%.2f", (b - a) * 1000}'
}
ours=() gdbus=()
for ((i = 0; i < pairs; i++)); do
    ours+=("$(elapsed_ms "$APP" --text "字幕 $i")")
    gdbus+=("$(elapsed_ms gdbus call --session --dest io.github.kelm_prompt.prompt \
        --object-path /io/github/kelm_prompt/prompt \
        --method io.github.kelm_prompt.Prompt.SetText "字幕 $i")")
done
check "the last text arrived" "字幕 $((pairs - 1))" "$("$APP" --get-text)"
a=$(median "${ours[@]}") b=$(median "${gdbus[@]}")
echo "pairs: $pairs"
echo "kelm-prompt --text, median ms: $a (min $(printf '%s\n' "${ours[@]}" | sort -n | head -n 1))"
echo "gdbus call SetText, median ms: $b (min $(printf '%s\n' "${gdbus[@]}" | sort -n | head -n 1))"
echo "ratio of the medians: $(awk -v a="$a" -v b="$b" 'BEGIN{printf "%.2f", a / b}')"
stop_app TERM
