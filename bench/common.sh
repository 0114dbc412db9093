# Shared by the start-up and memory comparisons: the two programs from a build,
# a scratch folder and a private Xvfb, both gone when the script ends.
#   source "$(dirname "$0")/common.sh"; bench_setup BUILD_DIR; start_xvfb SCREEN
# sets game, minimal, scratch and display.

bench_setup() {
    game="$1/tarvex"
    minimal="$1/bench/minimal_window"
    for program in "$game" "$minimal"; do
        [ -x "$program" ] || { echo "missing $program: build with -DTARVEX_BUILD_UI=ON -DTARVEX_BUILD_BENCH=ON" >&2; exit 2; }
    done
    scratch=$(mktemp -d)
    xvfb_pid=
    trap 'bench_cleanup' EXIT
}

bench_cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$scratch"
}

# An Xvfb of the given screen (WIDTHxHEIGHTxDEPTH) on a free display, ready when this returns.
start_xvfb() {
    display=:$((80 + RANDOM % 19))
    Xvfb "$display" -screen 0 "$1" -nolisten tcp > /dev/null 2>&1 &
    xvfb_pid=$!
    for ((i = 0; i < 50; ++i)); do
        DISPLAY=$display xdpyinfo > /dev/null 2>&1 && break
        sleep 0.1
    done
}
