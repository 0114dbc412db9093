#!/usr/bin/env bash
# The example client of the line protocol plays France for a few years against
# the simulator: every line it reads is JSON, the game ends as it should.
# Skipped (exit 77) without python3.
# Usage: protocol_client.sh <build dir> <source dir>
set -euo pipefail
build="$1"
source="$2"
command -v python3 >/dev/null 2>&1 || { echo "protocol_client: skipped: python3 is not installed"; exit 77; }
out=$(python3 "$source/tools/protocol_client.py" "$build/tarvex-sim" フランス王国 --years 3 --seed 4)
echo "$out"
[ "$out" = "フランス王国: years in year 4 " ] || { echo "unexpected end: $out" >&2; exit 1; }
