#!/usr/bin/env bash
# Makes the Debian package from the build tree with CPack and checks it the way
# apt and a desktop see it: its file name and control fields (the libraries
# dpkg-shlibdeps found, and the fonts and Qt texts the game loads by name),
# every file in its place, owned by root with Debian's modes, the menu entry
# and the metadata accepted by their validators, and the packaged programs
# run from the unpacked package. Skipped (exit 0) for a build without the
# window layer.
# Usage: package_test.sh <build dir> <source dir>
set -u
build=${1:?build directory}
src=${2:?source directory}

if [ ! -x "$build/tarvex" ]; then
    echo "package_test: skipped: $build has no tarvex (configured with TARVEX_BUILD_UI=OFF?)"
    exit 0
fi
cpack=$(sed -n 's/^CMAKE_CPACK_COMMAND:INTERNAL=//p' "$build/CMakeCache.txt")
for tool in "${cpack:-cpack}" dpkg-deb dpkg-shlibdeps file; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "FAIL: $tool is missing (scripts/install-deps.sh installs dpkg-dev and file)"
        exit 1
    fi
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
scratch=$(cd -P "$scratch" && pwd)  # the game reports resolved paths
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

if ! "${cpack:-cpack}" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    echo "FAIL: cpack failed"
    exit 1
fi

# --- the file and its control fields ---
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
deb="$scratch/out/tarvex_${version}_${arch}.deb"
made=$(cd "$scratch/out" && ls -- *.deb 2>/dev/null | tr '\n' ' ')
if [ "$made" != "tarvex_${version}_${arch}.deb " ]; then
    echo "FAIL: cpack made '$made', not tarvex_${version}_${arch}.deb"
    exit 1
fi
while read -r field value; do
    actual=$(dpkg-deb -f "$deb" "$field")
    [ "$actual" = "$value" ] || fail "control field $field is '$actual', not '$value'"
done <<EOF
Package tarvex
Version $version
Architecture $arch
Section games
Priority optional
EOF
dpkg-deb -f "$deb" Maintainer | grep -qE '^[^<]+ <[^@ ]+@[^@ ]+\.[^@ ]+>$' || fail "the Maintainer field is not 'Name <address>'"
[ -n "$(dpkg-deb -f "$deb" Description | sed -n 2p)" ] || fail "the Description has no long text"
# Every package named in Depends, alternatives included, without versions.
depends=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | sed 's/^ *//; s/[ (].*//')
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6 \
    fonts-noto-cjk qt6-translations-l10n; do
    echo "$depends" | grep -qxF "$package" || fail "Depends lacks $package: $(dpkg-deb -f "$deb" Depends)"
done

# --- the contents: exactly these files, root's, directories 0755, programs 0755, the rest 0644 ---
expected=(
    usr/bin/tarvex
    usr/bin/tarvex-sim
    usr/share/applications/io.github.tarvex.Tarvex.desktop
    usr/share/doc/tarvex/changelog.gz
    usr/share/doc/tarvex/copyright
    usr/share/icons/hicolor/128x128/apps/tarvex.png
    usr/share/icons/hicolor/48x48/apps/tarvex.png
    usr/share/icons/hicolor/scalable/apps/tarvex.svg
    usr/share/lintian/overrides/tarvex
    usr/share/man/man6/tarvex-sim.6.gz
    usr/share/man/man6/tarvex.6.gz
    usr/share/metainfo/io.github.tarvex.Tarvex.metainfo.xml
    usr/share/tarvex/LICENSE
    usr/share/tarvex/help/index.html
    usr/share/tarvex/map/NOTICE
    usr/share/tarvex/map/cities.tsv
    usr/share/tarvex/map/europe.map
)
dpkg-deb -c "$deb" >"$scratch/contents"
actual=$(awk '$1 !~ /^d/ {print $6}' "$scratch/contents" | sed 's|^\./||' | LC_ALL=C sort)
wanted=$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)
if [ "$actual" != "$wanted" ]; then
    fail "the package's files differ from the expected list:"
    diff <(echo "$wanted") <(echo "$actual") | sed -n 's/^[<>]/    &/p'
fi
while read -r mode owner _ _ _ path _; do
    case "$mode:$path" in
        d*:./usr/* | d*:./) want=drwxr-xr-x ;;
        *:./usr/bin/*) want=-rwxr-xr-x ;;
        *) want=-rw-r--r-- ;;
    esac
    [ "$mode" = "$want" ] || fail "$path has mode $mode, not $want"
    [ "$owner" = root/root ] || fail "$path belongs to $owner"
    case "$path" in ./ | ./usr/*) ;; *) fail "$path lies outside /usr" ;; esac
done <"$scratch/contents"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
share="$root/usr/share"
while read -r shipped packaged; do
    cmp -s "$src/$shipped" "$root/$packaged" || fail "$packaged is not the shipped $shipped"
done <<EOF
LICENSE usr/share/tarvex/LICENSE
data/help/index.html usr/share/tarvex/help/index.html
data/map/europe.map usr/share/tarvex/map/europe.map
data/map/cities.tsv usr/share/tarvex/map/cities.tsv
data/io.github.tarvex.Tarvex.desktop usr/share/applications/io.github.tarvex.Tarvex.desktop
data/io.github.tarvex.Tarvex.metainfo.xml usr/share/metainfo/io.github.tarvex.Tarvex.metainfo.xml
data/icons/tarvex.svg usr/share/icons/hicolor/scalable/apps/tarvex.svg
data/icons/tarvex-48.png usr/share/icons/hicolor/48x48/apps/tarvex.png
data/icons/tarvex-128.png usr/share/icons/hicolor/128x128/apps/tarvex.png
EOF
# The copyright file carries the licence and the map's notice whole.
for notice in LICENSE data/map/NOTICE; do
    [ -z "$(grep -vxF -f "$share/doc/tarvex/copyright" "$src/$notice")" ] ||
        fail "the copyright file lacks part of $notice"
done
# Compressed without a stored name or time (the same sources make the same package).
for gz in doc/tarvex/changelog.gz man/man6/tarvex.6.gz man/man6/tarvex-sim.6.gz; do
    [ -f "$share/$gz" ] || continue
    file -b "$share/$gz" | grep -q '^gzip compressed data' || fail "$gz is not gzip data"
    file -b "$share/$gz" | grep -qE 'was "|last modified' && fail "$gz stores a name or time: $(file -b "$share/$gz")"
done
zcat "$share/doc/tarvex/changelog.gz" 2>/dev/null | head -n 1 | grep -q "^tarvex ($version) " ||
    fail "the changelog does not start with version $version"
for page in tarvex tarvex-sim; do
    zcat "$share/man/man6/$page.6.gz" 2>/dev/null | grep -q '^\.TH ' || fail "$page.6.gz is not a manual page"
done
for program in tarvex tarvex-sim; do
    file -b "$root/usr/bin/$program" | grep -q 'ELF.*, stripped' || fail "usr/bin/$program is not a stripped program"
done
entry="$share/applications/io.github.tarvex.Tarvex.desktop"
grep -qxF 'Exec=tarvex' "$entry" || fail "the desktop entry does not start tarvex"
grep -qxF 'Icon=tarvex' "$entry" || fail "the desktop entry does not show the tarvex icon"
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$entry" || fail "desktop-file-validate refused the desktop entry"
fi
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net "$share/metainfo/io.github.tarvex.Tarvex.metainfo.xml" >/dev/null ||
        fail "appstreamcli refused the metadata"
fi

# --- the packaged programs, run from the unpacked package ---
# The stripped simulator plays the same game as the one built.
"$root/usr/bin/tarvex-sim" --years 5 --seed 1 >"$scratch/sim.out" 2>&1 || fail "the packaged tarvex-sim failed"
"$build/tarvex-sim" --years 5 --seed 1 >"$scratch/sim.expected" 2>&1
cmp -s "$scratch/sim.out" "$scratch/sim.expected" || fail "the packaged tarvex-sim played another game than the built one"
# The game finds its data beside itself in the package's tree.
home="$scratch/home"
mkdir -p "$home" "$scratch/runtime" && chmod 700 "$scratch/runtime"
out=$(cd "$scratch" && env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" XDG_DATA_HOME="$home/.local/share" \
    XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$scratch/runtime" QT_QPA_PLATFORM=offscreen \
    timeout 60 "$root/usr/bin/tarvex" --check-start 2>"$scratch/stderr")
status=$?
[ $status -eq 0 ] || { fail "the packaged game did not start (status $status)"; sed 's/^/    /' "$scratch/stderr"; }
for line in "help page: $share/tarvex/help/index.html" "map: $share/tarvex/map/europe.map"; do
    echo "$out" | grep -qxF "$line" || fail "the packaged game did not say '$line'"
done

if [ $failures -ne 0 ]; then
    echo "package_test: $failures check(s) failed"
    echo "$out" | sed 's/^/    /'
    exit 1
fi
echo "package_test: $(basename "$deb") ($(stat -c %s "$deb") bytes) checks out"
echo "    Depends: $(dpkg-deb -f "$deb" Depends)"
