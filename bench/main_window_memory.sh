#!/bin/bash
# Peak memory of the game with its main window up (`tarvex --check-main`: the map
# painted, a second of the first season) against a minimal Qt Widgets program
# showing a 1000 x 500 window for the same second, side by side under Xvfb, at
# device pixel ratio 1 and 2 (QT_SCALE_FACTOR). Medians of N runs.
#
#   bench/main_window_memory.sh BUILD_DIR [RUNS]
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [RUNS]}
runs=${2:-7}
source "$(dirname "$0")/common.sh"
bench_setup "$build"

start_xvfb 2400x1400x24
export DISPLAY=$display QT_QPA_PLATFORM=xcb

# One run's peak resident set in kilobytes. The game runs in a scratch folder: it saves nothing,
# but a save left there would not be the player's.
peak() {
    (cd "$scratch" && /usr/bin/time -v -o "$scratch/time" "$@" > /dev/null 2> "$scratch/err") || { cat "$scratch/err" >&2; exit 1; }
    awk -F': ' '/Maximum resident set size/ {print $2}' "$scratch/time"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "| ratio | runs | game max RSS | minimal max RSS | game / minimal |"
echo "|---:|---:|---:|---:|---:|"
for scale in 1 2; do
    : > "$scratch/g"; : > "$scratch/m"
    QT_SCALE_FACTOR=$scale peak "$game" --check-main > /dev/null
    for ((i = 0; i < runs; ++i)); do
        QT_SCALE_FACTOR=$scale peak "$game" --check-main >> "$scratch/g"
        QT_SCALE_FACTOR=$scale peak "$minimal" 1000 500 1000 >> "$scratch/m"
    done
    g=$(median < "$scratch/g"); m=$(median < "$scratch/m")
    printf "| %d | %d | %'d kB | %'d kB | %.2f |\n" "$scale" "$runs" "$g" "$m" "$(awk -v a="$g" -v b="$m" 'BEGIN { print a / b }')"
done
