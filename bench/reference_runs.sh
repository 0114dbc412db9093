#!/usr/bin/env bash
# The reference games: what a change that is not meant to change a rule must
# leave byte for byte as it was. Writes every log, save and chronicle into DIR;
# compare two such folders with `diff -r`.
# Usage: bench/reference_runs.sh SIM DIR
set -euo pipefail
sim=$1
out=$2
mkdir -p "$out"

# Eight seeds of 200 years: each message line, the save and its chronicle.
for seed in 1 2 3 4 5 6 7 8; do
  "$sim" --seed "$seed" --years 200 --log --save "$out/seed$seed.dt" --chronicle "$out/seed$seed.tsv" \
    > "$out/seed$seed.log"
done
# Two long games.
for seed in 4 9; do
  "$sim" --seed "$seed" --years 1000 --save "$out/long$seed.dt" > "$out/long$seed.txt"
done
# Two streams of draws from a file: one with the extremes, one ordinary, each until it runs out.
awk 'BEGIN { srand(11); for (i = 0; i < 400000; ++i) { r = rand(); if (i % 97 == 0) r = 0; if (i % 89 == 0) r = 0.9999999; printf "%.17g\n", r } }' \
  > "$out/stream1.txt"
awk 'BEGIN { srand(12); for (i = 0; i < 300000; ++i) printf "%.17g\n", rand() }' > "$out/stream2.txt"
for s in 1 2; do
  "$sim" --random-from "$out/stream$s.txt" --years 300 --log --save "$out/stream$s.dt" > "$out/stream$s.log" || true
done
# A loaded game played on.
"$sim" --load "$out/seed3.dt" --seed 99 --years 50 --log --save "$out/loaded.dt" > "$out/loaded.log"
