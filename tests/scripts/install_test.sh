#!/usr/bin/env bash
# Installs the built game into a scratch prefix the way a packager does and
# checks the result: every file in its usual place and nothing else, the menu
# entry and the AppStream metadata accepted by their validators, and the
# installed game starting from an unrelated folder, finding its own data and
# keeping its save in the player's folder. Skipped (exit 77) for a build
# without the window layer.
# Usage: install_test.sh <build dir> <source dir>
set -u
build=${1:?build directory}
src=${2:?source directory}

if [ ! -x "$build/tarvex" ]; then
    echo "install_test: skipped: $build has no tarvex (configured with TARVEX_BUILD_UI=OFF?)"
    exit 77
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
scratch=$(cd -P "$scratch" && pwd)  # the game reports resolved paths
prefix="$scratch/prefix"
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

if ! cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1; then
    cat "$scratch/install.log"
    echo "FAIL: cmake --install failed"
    exit 1
fi

# --- the installed tree: exactly these files, the shipped ones unchanged ---
desktop=share/applications/io.github.tarvex.Tarvex.desktop
metainfo=share/metainfo/io.github.tarvex.Tarvex.metainfo.xml
expected=(
    "games/tarvex"
    "games/tarvex-sim"
    "$desktop"
    "share/icons/hicolor/128x128/apps/tarvex.png"
    "share/icons/hicolor/48x48/apps/tarvex.png"
    "share/icons/hicolor/scalable/apps/tarvex.svg"
    "share/man/man6/tarvex-sim.6.gz"
    "share/man/man6/tarvex.6.gz"
    "$metainfo"
    "share/tarvex/LICENSE"
    "share/tarvex/help/index.html"
    "share/tarvex/map/NOTICE"
    "share/tarvex/map/cities.tsv"
    "share/tarvex/map/europe.map"
    "share/tarvex/map/europe.reach"
)
actual=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
wanted=$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)
if [ "$actual" != "$wanted" ]; then
    fail "the installed files differ from the expected list:"
    diff <(echo "$wanted") <(echo "$actual") | sed -n 's/^[<>]/    &/p'
fi
for program in tarvex tarvex-sim; do
    [ -x "$prefix/games/$program" ] || fail "games/$program is not an executable"
done
while read -r shipped installed; do
    cmp -s "$src/$shipped" "$prefix/$installed" || fail "$installed is not the shipped $shipped"
done <<EOF
LICENSE share/tarvex/LICENSE
data/help/index.html share/tarvex/help/index.html
data/map/NOTICE share/tarvex/map/NOTICE
data/map/europe.map share/tarvex/map/europe.map
data/io.github.tarvex.Tarvex.desktop $desktop
data/io.github.tarvex.Tarvex.metainfo.xml $metainfo
data/icons/tarvex.svg share/icons/hicolor/scalable/apps/tarvex.svg
EOF

# Each PNG icon is a PNG of the size its folder names (width and height at bytes 16..23).
for size in 48 128; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/tarvex.png"
    [ -f "$icon" ] || continue
    magic=$(od -An -tx1 -N8 "$icon" | tr -d ' \n')
    dims=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [ "$magic" = "89504e470d0a1a0a" ] || fail "${size}x${size} icon is not a PNG"
    [ "$dims" = "$size $size" ] || fail "${size}x${size} icon is $dims"
done

# --- the menu entry and the metadata ---
entry="$prefix/$desktop"
for line in 'Type=Application' 'Name=Tarvex' 'Categories=Game;StrategyGame;' 'Icon=tarvex' 'Terminal=false'; do
    grep -qxF "$line" "$entry" || fail "the desktop entry lacks '$line'"
done
grep -q '^Name\[ja\]=.*[^ -~]' "$entry" || fail "the desktop entry has no Japanese name"
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$prefix/games/$exec_program" ] || fail "the desktop entry starts '$exec_program', which is not installed in games/"
grep -q '<launchable type="desktop-id">io.github.tarvex.Tarvex.desktop</launchable>' "$prefix/$metainfo" ||
    fail "the metadata does not name the installed desktop entry"
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$entry" || fail "desktop-file-validate refused the desktop entry"
else
    fail "desktop-file-validate is missing (package desktop-file-utils; scripts/install-deps.sh installs it)"
fi
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net "$prefix/$metainfo" || fail "appstreamcli refused the metadata"
else
    fail "appstreamcli is missing (package appstream; scripts/install-deps.sh installs it)"
fi

# --- the installed programs start away from the build and the sources ---
"$prefix/games/tarvex-sim" --help >/dev/null 2>&1 || fail "the installed tarvex-sim --help failed"
"$prefix/games/tarvex" --help | grep -q -- '--check-start' || fail "tarvex --help does not list --check-start"
# A mistyped option is refused with the usage on stderr and status 2, before any window;
# Qt's own options still pass (-platform offscreen: no display is needed to see it).
status=0
QT_QPA_PLATFORM=offscreen "$prefix/games/tarvex" --bogus >"$scratch/bogus.out" 2>"$scratch/bogus.err" || status=$?
[ "$status" -eq 2 ] || fail "tarvex --bogus exited with $status, not 2"
grep -q '^Usage: tarvex' "$scratch/bogus.err" || fail "tarvex --bogus printed no usage on stderr"
[ ! -s "$scratch/bogus.out" ] || fail "tarvex --bogus printed on stdout"
"$prefix/games/tarvex" -platform offscreen -reverse --style=fusion --help >/dev/null ||
    fail "tarvex refused Qt's own options"

home="$scratch/home"
elsewhere="$scratch/elsewhere"
mkdir -p "$home" "$elsewhere" "$scratch/runtime" && chmod 700 "$scratch/runtime"
out=$(cd "$elsewhere" && env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" XDG_DATA_HOME="$home/.local/share" \
    XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$scratch/runtime" QT_QPA_PLATFORM=offscreen \
    timeout 60 "$prefix/games/tarvex" --check-start 2>"$scratch/stderr")
status=$?
if [ $status -ne 0 ]; then
    fail "the installed game did not start (status $status)"
    sed 's/^/    /' "$scratch/stderr"
fi
echo "$out" | sed 's/^/    /'
expect_line() {
    echo "$out" | grep -qxF "$1" || fail "the start check did not say '$1'"
}
expect_line "settings window: 設定画面"
expect_line "help page: $prefix/share/tarvex/help/index.html"
expect_line "map: $prefix/share/tarvex/map/europe.map"
expect_line "save file: $home/.local/share/Tarvex/Game.dt"
[ -d "$home/.local/share/Tarvex" ] || fail "the player's save folder was not made"
[ -z "$(ls -A "$elsewhere")" ] || fail "the game wrote into its working folder: $(ls -A "$elsewhere")"
[ "$(ls -A "$prefix/games" | LC_ALL=C sort | tr '\n' ' ')" = "tarvex tarvex-sim " ] ||
    fail "the game wrote beside the installed program: $(ls -A "$prefix/games")"

if [ $failures -ne 0 ]; then
    echo "install_test: $failures check(s) failed"
    exit 1
fi
echo "install_test: the installed tree, its menu entry, metadata and start all check out"
