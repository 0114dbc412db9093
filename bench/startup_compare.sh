#!/bin/bash
# Start-up time and peak memory of the game up to its settings screen, against a
# minimal Qt Widgets program, offscreen and under Xvfb: medians of N runs.
#
#   bench/startup_compare.sh BUILD_DIR [RUNS]
#
# BUILD_DIR is a build with the windows and the benchmarks
# (-DTARVEX_BUILD_UI=ON -DTARVEX_BUILD_BENCH=ON), best in Release.
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [RUNS]}
runs=${2:-15}
source "$(dirname "$0")/common.sh"
bench_setup "$build"

# One run: prints "seconds kilobytes". The peak memory is /usr/bin/time's; the wall
# time is taken around it to the microsecond, as its own is to the hundredth.
measure() {
    local start=$EPOCHREALTIME
    /usr/bin/time -v -o "$scratch/time" "$@" > /dev/null 2> "$scratch/err" || { cat "$scratch/err" >&2; exit 1; }
    local end=$EPOCHREALTIME rss
    rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$scratch/time")
    awk -v a="$start" -v b="$end" -v r="$rss" 'BEGIN { printf "%.4f %d\n", b - a, r }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.4f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

compare() {
    local platform=$1
    : > "$scratch/game"; : > "$scratch/minimal"
    # A first run of each warms the file cache and the font cache.
    measure "$game" --check-start > /dev/null
    measure "$minimal" > /dev/null
    for ((i = 0; i < runs; ++i)); do
        measure "$game" --check-start >> "$scratch/game"
        measure "$minimal" >> "$scratch/minimal"
    done
    local gw gr mw mr
    gw=$(cut -d' ' -f1 "$scratch/game" | median); gr=$(cut -d' ' -f2 "$scratch/game" | median)
    mw=$(cut -d' ' -f1 "$scratch/minimal" | median); mr=$(cut -d' ' -f2 "$scratch/minimal" | median)
    printf "| %-9s | %4d | %8.4f s | %10.4f s | %5.2f | %9.0f KB | %12.0f KB | %5.2f |\n" "$platform" "$runs" \
        "$gw" "$mw" "$(awk -v a="$gw" -v b="$mw" 'BEGIN { print a / b }')" \
        "$gr" "$mr" "$(awk -v a="$gr" -v b="$mr" 'BEGIN { print a / b }')"
}

echo "| platform  | runs | game wall  | minimal wall | ratio | game max RSS | minimal max RSS | ratio |"
echo "|-----------|------|------------|--------------|-------|--------------|-----------------|-------|"
QT_QPA_PLATFORM=offscreen compare offscreen

start_xvfb 1920x1080x24
DISPLAY=$display QT_QPA_PLATFORM=xcb compare xcb
