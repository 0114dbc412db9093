#!/usr/bin/env bash
# Installs what a task needs and this machine lacks, on Debian 12: apt-get without
# questions, through sudo when not root; does nothing when everything is there.
# apt's own output goes to a log: one line a step is printed, and the log's end
# when a step fails.
# Usage: install-deps.sh [game|test|bench|package]...   (default: game)
#   game     what building and playing the game needs
#   test     the game's, plus the test, check and packaging-check tools
#   bench    the game's, plus Google Benchmark
#   package  the game's, plus what makes and checks the Debian package
set -euo pipefail

game=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n libgl-dev
  nlohmann-json3-dev
  fonts-noto-cjk
)
# What the tests use: GoogleTest; python3 (the line protocol's client); clang and
# its sanitizer runtimes (the fuzz build), clang-format and clang-tidy (the style
# checks); the desktop entry's and metadata's validators (the install and package
# tests); dpkg-dev, file and lintian (the package test). The window tests draw
# offscreen: no X server is needed.
test=(
  libgtest-dev libgmock-dev
  python3
  clang libclang-rt-14-dev clang-format clang-tidy
  desktop-file-utils appstream
  dpkg-dev file lintian
)
bench=(libbenchmark-dev)
package=(dpkg-dev file desktop-file-utils appstream lintian)

packages=("${game[@]}")
for task in "${@:-game}"; do
  case "$task" in
    game) ;;
    test) packages+=("${test[@]}") ;;
    bench) packages+=("${bench[@]}") ;;
    package) packages+=("${package[@]}") ;;
    *) echo "install-deps.sh: unknown task '$task' (game, test, bench or package)" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
# Each missing package once, in the order of the lists.
mapfile -t missing < <(printf '%s\n' "${missing[@]}" | awk 'NF && !seen[$0]++')

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp "${TMPDIR:-/tmp}/tarvex-install-deps.XXXXXX.log")
# Runs one step with its output in the log; on failure, the log's end and where the rest is.
step() {
  local what=$1
  shift
  echo "  $what"
  if ! "$@" >>"$log" 2>&1; then
    echo "install-deps.sh: failed: $what; the end of $log:" >&2
    tail -n 25 "$log" | sed 's/^/    /' >&2
    exit 1
  fi
}
echo "Installing ${#missing[@]} missing package(s) with apt-get (a few minutes the first time; log: $log)"
step "Updating the package lists (apt-get update)" "${sudo[@]}" apt-get update
step "Installing ${missing[*]}" "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
echo "  Done (apt-get's output: $log)"
