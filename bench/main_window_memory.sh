#!/bin/bash
# Peak memory of the game with its main window up (`tarvex --check-main`: the map
# painted, a second of the first season) against a minimal Qt Widgets program
# showing a window for the same second, side by side under Xvfb, at device pixel
# ratio 1 and 2 (QT_SCALE_FACTOR). Medians of N runs.
#
# Two yardsticks: the minimal window at 1000 x 500, and at the size the game's own
# window opens at (80 % of the screen), whose picture shared with the X server
# costs any program the same.
#
#   bench/main_window_memory.sh BUILD_DIR [RUNS]
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [RUNS]}
runs=${2:-7}
source "$(dirname "$0")/common.sh"
bench_setup "$build"

start_xvfb 2400x1400x24
export DISPLAY=$display QT_QPA_PLATFORM=xcb

# One run's peak resident set in kilobytes. The game runs in a scratch folder with a
# configuration of its own, as on a first start: it saves nothing of the player's, and
# a window place kept from an earlier run does not change the size.
peak() {
    rm -rf "$scratch/config"
    (cd "$scratch" && XDG_CONFIG_HOME="$scratch/config" /usr/bin/time -v -o "$scratch/time" "$@" > "$scratch/out" 2> "$scratch/err") ||
        { cat "$scratch/err" >&2; exit 1; }
    awk -F': ' '/Maximum resident set size/ {print $2}' "$scratch/time"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "| ratio | runs | game window | game max RSS | minimal 1000 x 500 | game / it | minimal at the game's size | game / it |"
echo "|---:|---:|---:|---:|---:|---:|---:|---:|"
for scale in 1 2; do
    : > "$scratch/g"; : > "$scratch/m"; : > "$scratch/s"
    QT_SCALE_FACTOR=$scale peak "$game" --check-main > /dev/null
    # "main window size: 1920 x 1120", in the window's own (logical) pixels.
    size=$(awk -F': ' '/^main window size:/ {print $2}' "$scratch/out")
    width=${size% x *} height=${size#* x }
    [ -n "$width" ] && [ -n "$height" ] || { echo "the game did not say its window's size" >&2; exit 1; }
    for ((i = 0; i < runs; ++i)); do
        QT_SCALE_FACTOR=$scale peak "$game" --check-main >> "$scratch/g"
        QT_SCALE_FACTOR=$scale peak "$minimal" 1000 500 1000 >> "$scratch/m"
        QT_SCALE_FACTOR=$scale peak "$minimal" "$width" "$height" 1000 >> "$scratch/s"
    done
    g=$(median < "$scratch/g"); m=$(median < "$scratch/m"); s=$(median < "$scratch/s")
    printf "| %d | %d | %d x %d | %'d kB | %'d kB | %s | %'d kB | %s |\n" "$scale" "$runs" "$width" "$height" \
        "$g" "$m" "$(ratio "$g" "$m")" "$s" "$(ratio "$g" "$s")"
done
