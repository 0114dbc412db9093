#!/usr/bin/env bash
# Long computer-only games on several seeds, every invariant checked after every step.
set -euo pipefail
build="$1"
sim="$build/tarvex-sim"
for seed in 1 2 3 4 5 6; do
  if ! out=$("$sim" --years 200 --seed "$seed" --check 2>&1); then
    echo "seed $seed: $out" >&2
    exit 1
  fi
  echo "seed $seed: $(echo "$out" | head -2 | tr '\n' ' ')"
done
