#!/usr/bin/env bash
# Reruns the map generator and checks that it writes the committed land
# outline and warped city locations byte for byte, so the committed picture
# always follows the panel layout. Skipped (exit 0) when node or the npm
# packages cannot be had, e.g. offline.
# Usage: mapgen_determinism.sh <build dir> <source dir>
set -u
build=${1:?build directory}
src=${2:?source directory}
gen="$src/tools/mapgen"

skip() {
    echo "mapgen_determinism: skipped: $*"
    exit 0
}

command -v node >/dev/null 2>&1 || skip "node is not installed"

if [ -d "$gen/node_modules/world-atlas" ] && [ -d "$gen/node_modules/topojson-client" ]; then
    run="$gen"
else
    # Install into the build tree, never into the sources.
    command -v npm >/dev/null 2>&1 || skip "npm is not installed"
    run="$build/mapgen-deps"
    mkdir -p "$run" || exit 1
    if ! cmp -s "$gen/package-lock.json" "$run/package-lock.json" || [ ! -d "$run/node_modules/world-atlas" ]; then
        cp "$gen/package.json" "$gen/package-lock.json" "$run/" || exit 1
        if ! (cd "$run" && timeout 600 npm ci --no-audit --no-fund --fetch-retries=1 --loglevel=error); then
            rm -f "$run/package-lock.json"
            skip "npm ci failed (no registry?)"
        fi
    fi
    cp "$gen"/*.mjs "$run/" || exit 1
fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
if ! node "$run/generate.mjs" --root "$src" --out "$out"; then
    echo "FAIL: the map generator failed"
    exit 1
fi
status=0
for f in europe.map cities.tsv; do
    if ! cmp "$src/data/map/$f" "$out/$f"; then
        echo "FAIL: data/map/$f differs from a fresh run; after a layout change run"
        echo "      (cd tools/mapgen && npm ci && node generate.mjs) and commit data/map"
        status=1
    fi
done
[ $status -eq 0 ] && echo "mapgen_determinism: data/map matches a fresh run of the generator"
exit $status
