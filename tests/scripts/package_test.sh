#!/usr/bin/env bash
# Makes the Debian package from the build tree with CPack and checks what apt and
# a desktop see: its name, the libraries and run-time packages it depends on,
# exactly the expected files with Debian's modes, a menu entry and metadata their
# validators accept, and the unpacked programs running and finding their data.
# Skipped (exit 77) for a build without the window layer.
# Usage: package_test.sh <build dir> <source dir>
set -u
build=${1:?build directory}
[ -x "$build/tarvex" ] || { echo "package_test: skipped: no window layer in $build"; exit 77; }
cpack=$(sed -n 's/^CMAKE_CPACK_COMMAND:INTERNAL=//p' "$build/CMakeCache.txt")
scratch=$(mktemp -d) && scratch=$(cd -P "$scratch" && pwd)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"${cpack:-cpack}" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; echo "FAIL: cpack failed"; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$scratch/out/tarvex_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "FAIL: cpack made $(ls "$scratch/out"/*.deb), not $(basename "$deb")"; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | sed 's/^ *//; s/[ (].*//')
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6 fonts-noto-cjk \
    qt6-translations-l10n; do
    echo "$depends" | grep -qxF "$package" || fail "Depends lacks $package"
done

# Exactly these files, root's; folders and programs 0755, the rest 0644, whatever the packager's umask.
expected="usr/games/tarvex usr/games/tarvex-sim usr/share/applications/io.github.tarvex.Tarvex.desktop
usr/share/doc/tarvex/changelog.gz usr/share/doc/tarvex/copyright usr/share/icons/hicolor/128x128/apps/tarvex.png
usr/share/icons/hicolor/48x48/apps/tarvex.png usr/share/icons/hicolor/scalable/apps/tarvex.svg
usr/share/man/man6/tarvex-sim.6.gz usr/share/man/man6/tarvex.6.gz
usr/share/metainfo/io.github.tarvex.Tarvex.metainfo.xml usr/share/tarvex/LICENSE usr/share/tarvex/help/index.html
usr/share/tarvex/map/NOTICE usr/share/tarvex/map/cities.tsv usr/share/tarvex/map/europe.map
usr/share/tarvex/map/europe.reach"
dpkg-deb -c "$deb" >"$scratch/contents"
actual=$(awk '$1 !~ /^d/ {sub(/^\.\//, "", $6); print $6}' "$scratch/contents" | LC_ALL=C sort)
[ "$actual" = "$(echo $expected | tr ' ' '\n' | LC_ALL=C sort)" ] || fail "the files differ: $actual"
while read -r mode owner _ _ _ path _; do
    case "$mode:$path" in d*) want=drwxr-xr-x ;; *:./usr/games/*) want=-rwxr-xr-x ;; *) want=-rw-r--r-- ;; esac
    [ "$mode $owner" = "$want root/root" ] || fail "$path is $mode $owner"
done <"$scratch/contents"

root="$scratch/root" && dpkg-deb -x "$deb" "$root"
share="$root/usr/share"
desktop-file-validate "$share/applications/io.github.tarvex.Tarvex.desktop" || fail "the desktop entry is refused"
appstreamcli validate --no-net "$share/metainfo/io.github.tarvex.Tarvex.metainfo.xml" >/dev/null ||
    fail "the metadata is refused"
grep -q "$(head -n 1 "$2/LICENSE")" "$share/doc/tarvex/copyright" || fail "the copyright file lacks the licence"

# Who answers for the package, and where: a maintainer with an address that is no placeholder, a home page.
maintainer=$(dpkg-deb -f "$deb" Maintainer)
case "$maintainer" in *"<"*@*">"*) ;; *) fail "the maintainer '$maintainer' has no address" ;; esac
case "$maintainer" in *example.*) fail "the maintainer '$maintainer' is a placeholder" ;; esac
case "$(dpkg-deb -f "$deb" Homepage)" in https://*) ;; *) fail "the package names no home page" ;; esac
# Debian's own checker: no error, and no override that hides one.
if command -v lintian >/dev/null 2>&1; then
    lintian --fail-on error "$deb" >"$scratch/lintian" 2>&1 || { fail "lintian found errors:"; sed 's/^/    /' "$scratch/lintian"; }
else
    fail "lintian is missing (package lintian; scripts/install-deps.sh test installs it)"
fi

"$root/usr/games/tarvex-sim" --years 5 --seed 1 >/dev/null || fail "the packaged tarvex-sim failed"
mkdir -p "$scratch/home" "$scratch/run" && chmod 700 "$scratch/run"
out=$(cd "$scratch" && env -u DISPLAY HOME="$scratch/home" XDG_DATA_HOME="$scratch/home/.local/share" \
    XDG_RUNTIME_DIR="$scratch/run" QT_QPA_PLATFORM=offscreen timeout 60 "$root/usr/games/tarvex" --check-start 2>&1) ||
    fail "the packaged game did not start: $out"
for line in "help page: $share/tarvex/help/index.html" "map: $share/tarvex/map/europe.map"; do
    echo "$out" | grep -qxF "$line" || fail "the packaged game did not find its data: $out"
done

# Made again from the same tree a moment later, the package is the same byte for byte:
# its files carry the sources' time, not the time of packing.
sleep 1
"${cpack:-cpack}" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/again" >"$scratch/cpack-again.log" 2>&1 ||
    fail "cpack failed the second time"
cmp -s "$deb" "$scratch/again/$(basename "$deb")" || fail "a second package of the same tree differs from the first"
# None of its files is newer than the last commit (when no SOURCE_DATE_EPOCH says otherwise).
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && epoch=$(git -C "$2" log -1 --format=%ct 2>/dev/null) && [ -n "$epoch" ]; then
    stamp=$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M')
    newer=$(TZ=UTC dpkg-deb -c "$deb" | awk -v stamp="$stamp" '$4 " " $5 > stamp { print $6 }')
    [ -z "$newer" ] || fail "files of the package are newer than the last commit ($stamp UTC): $newer"
fi

[ $failures -eq 0 ] || { echo "package_test: $failures check(s) failed"; exit 1; }
echo "package_test: $(basename "$deb") checks out; Depends: $(dpkg-deb -f "$deb" Depends)"
