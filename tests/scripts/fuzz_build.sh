#!/usr/bin/env bash
# Builds the fuzz targets of the save-file loader and the line protocol with clang in <build dir>/fuzz, saying
# so first: the first build takes a couple of minutes. Nothing to do without clang.
# Usage: fuzz_build.sh <build dir> <source dir>
set -euo pipefail

build="$1"
source="$2"
fuzz="$build/fuzz"

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz_build: clang++ is not installed; the fuzz test will be skipped"
  exit 0
fi

echo "Building the fuzz targets with clang in $fuzz (about two minutes the first time)"
cmake -S "$source" -B "$fuzz" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARVEX_BUILD_UI=OFF -DTARVEX_BUILD_TESTS=OFF -DTARVEX_FUZZ=ON >/dev/null
cmake --build "$fuzz" --target tarvex_load_fuzz tarvex_protocol_fuzz -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
