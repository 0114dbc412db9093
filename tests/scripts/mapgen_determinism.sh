#!/usr/bin/env bash
# Reruns the map generator and checks that it writes the committed land
# outline and warped city locations byte for byte, so the committed picture
# always follows the panel layout. Runs only from packages already at hand,
# never fetching any: tools/mapgen/node_modules (after `npm ci` there), or the
# node_modules folder named by TARVEX_MAPGEN_MODULES. Skipped (exit 77) without
# them or without node.
# Usage: mapgen_determinism.sh <build dir> <source dir>
set -u
src=${2:?source directory}
gen="$src/tools/mapgen"

skip() {
    echo "mapgen_determinism: skipped: $*"
    exit 77
}

has_packages() {
    [ -d "$1/world-atlas" ] && [ -d "$1/topojson-client" ]
}

command -v node >/dev/null 2>&1 || skip "node is not installed"

# The generator finds its packages through require(), which also looks in NODE_PATH.
if has_packages "$gen/node_modules"; then
    modules="$gen/node_modules"
elif [ -n "${TARVEX_MAPGEN_MODULES:-}" ]; then
    has_packages "$TARVEX_MAPGEN_MODULES" ||
        skip "TARVEX_MAPGEN_MODULES=$TARVEX_MAPGEN_MODULES holds no world-atlas and topojson-client"
    modules=$(cd "$TARVEX_MAPGEN_MODULES" && pwd)
else
    skip "no map generator packages: run npm ci in tools/mapgen or set TARVEX_MAPGEN_MODULES"
fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
if ! NODE_PATH="$modules" node "$gen/generate.mjs" --root "$src" --out "$out"; then
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
