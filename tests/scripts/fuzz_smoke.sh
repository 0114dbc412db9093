#!/usr/bin/env bash
# A short run of the save-file loader's fuzz target from the committed seed files:
# builds it with clang in <build dir>/fuzz and feeds it a few thousand inputs.
# Skipped (exit 77) without clang.
# Usage: fuzz_smoke.sh <build dir> <source dir>
set -euo pipefail

build="$1"
source="$2"
fuzz="$build/fuzz"

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz_smoke: skipped: clang++ is not installed"
  exit 77
fi

cmake -S "$source" -B "$fuzz" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARVEX_BUILD_UI=OFF -DTARVEX_BUILD_TESTS=OFF -DTARVEX_FUZZ=ON >/dev/null
cmake --build "$fuzz" --target tarvex_load_fuzz -j 2 >/dev/null

# New inputs go to a scratch corpus; the committed seeds stay as they are.
work="$fuzz/corpus"
rm -rf "$work" && mkdir -p "$work"
cd "$fuzz"
./tarvex_load_fuzz -runs=4000 -max_total_time=60 -timeout=10 -rss_limit_mb=2048 \
  -dict="$source/tests/fuzz/load_fuzz.dict" -artifact_prefix="$fuzz/" -print_final_stats=1 \
  "$work" "$source/tests/fuzz/corpus"
