#!/usr/bin/env bash
# Every C++ file of the tree keeps to .clang-format: a drift fails here, with the
# files that drift and the command that puts them right. Skipped (77) without clang-format.
# Usage: format_check.sh <build dir> <source dir>
set -u
src=${2:?source directory}
command -v clang-format >/dev/null 2>&1 || { echo "format_check: skipped: clang-format is not installed"; exit 77; }
cd "$src" || exit 1
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
    mapfile -t files < <(find src tests bench -name '*.cpp' -o -name '*.h' | sort)
fi
drift=()
for f in "${files[@]}"; do
    [ -f "$f" ] || continue
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || drift+=("$f")
done
if [ ${#drift[@]} -gt 0 ]; then
    echo "FAIL: ${#drift[@]} of ${#files[@]} files drift from .clang-format:"
    printf '  %s\n' "${drift[@]}"
    echo "put them right with: clang-format -i ${drift[*]}"
    exit 1
fi
echo "format_check: ${#files[@]} files keep to .clang-format"
