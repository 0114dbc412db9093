#!/usr/bin/env bash
# A short run of the save-file loader's and the line protocol's fuzz targets from the committed seed files:
# feeds it a few thousand inputs. `make test` builds it first (fuzz_build.sh);
# run alone, this builds it too.
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

# Brought up to date with the sources (quick when make test has just built it).
bash "$source/tests/scripts/fuzz_build.sh" "$build" "$source" >/dev/null

# New inputs go to a scratch corpus; the committed seeds stay as they are.
work="$fuzz/corpus"
rm -rf "$work" && mkdir -p "$work"
cd "$fuzz"
./tarvex_load_fuzz -runs=4000 -max_total_time=60 -timeout=10 -rss_limit_mb=2048 \
  -dict="$source/tests/fuzz/load_fuzz.dict" -artifact_prefix="$fuzz/" -print_final_stats=1 \
  "$work" "$source/tests/fuzz/corpus"

# The line protocol from the committed decisions, a few thousand inputs too.
work="$fuzz/protocol-corpus"
rm -rf "$work" && mkdir -p "$work"
./tarvex_protocol_fuzz -runs=4000 -max_total_time=60 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$fuzz/" -print_final_stats=1 "$work" "$source/tests/fuzz/protocol-corpus"
