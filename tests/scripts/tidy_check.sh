#!/usr/bin/env bash
# The game's sources pass .clang-tidy (bug patterns and needless copies), read with
# the build's own compile commands. Skipped (77) without clang-tidy or the commands.
# Usage: tidy_check.sh <build dir> <source dir>
set -u
build=${1:?build directory}
src=${2:?source directory}
runner=$(command -v run-clang-tidy || command -v run-clang-tidy-14 || true)
[ -n "$runner" ] && command -v clang-tidy >/dev/null 2>&1 || { echo "tidy_check: skipped: clang-tidy is not installed"; exit 77; }
[ -f "$build/compile_commands.json" ] || { echo "tidy_check: skipped: no compile_commands.json in $build"; exit 77; }
jobs=$(nproc 2>/dev/null || echo 2)
# GCC's own warning options mean nothing to clang: they are not findings.
out=$("$runner" -p "$build" -j "$jobs" -quiet -extra-arg=-Wno-unknown-warning-option "$src/src/" 2>&1)
status=$?
findings=$(printf '%s\n' "$out" | grep -E ': (warning|error): ' | sort -u)
if [ $status -ne 0 ] || [ -n "$findings" ]; then
    echo "FAIL: clang-tidy findings in the sources:"
    printf '%s\n' "${findings:-$out}"
    exit 1
fi
echo "tidy_check: the sources pass .clang-tidy"
