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

# A game that plays itself, for the scripts that watch one: `tarvex` from a copy in a scratch
# folder (its saves never land in the build tree) with a fresh profile, under a private Xvfb
# (1600x1200); the nation left empty (watching), "自動で進める" on, the help panels closed, the
# message speed chosen on the settings screen. With a save file (its chronicle beside it) the
# game goes on from it as from its autosave ("前回の続きから"). Needs Xvfb and xdotool; sets
# scratch, xvfb_pid, game_pid and DISPLAY, all gone or stopped when the script ends.
#   start_watched_game BUILD_DIR SPEED [SAVE]
start_watched_game() {
    local build=$1 speed=$2 save=${3:-}
    for tool in Xvfb xdotool; do
        command -v "$tool" > /dev/null || { echo "missing $tool (packages xvfb, xdotool)" >&2; exit 2; }
    done
    [ -x "$build/tarvex" ] || { echo "missing $build/tarvex: build the game first" >&2; exit 2; }
    scratch=$(mktemp -d)
    xvfb_pid=
    game_pid=
    trap '[ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null; bench_cleanup' EXIT
    mkdir -p "$scratch/bin" "$scratch/config/Tarvex" "$scratch/data" "$scratch/runtime"
    chmod 700 "$scratch/runtime"
    cp "$build/tarvex" "$scratch/bin/"
    if [ -n "$save" ]; then
        cp "$save" "$scratch/bin/Autosave.dt"
        cp "${save%.dt}.chronicle" "$scratch/bin/Autosave.chronicle"
        if [ -f "$save.strength" ]; then cp "$save.strength" "$scratch/bin/Autosave.strength"; fi
    fi
    printf '%s\n' '[help]' buttonsClosed=true citiesClosed=true nationClosed=true numbersClosed=true '' \
        '[turn]' autoPlay=true > "$scratch/config/Tarvex/Tarvex.conf"
    # A display no other X server holds: Xvfb picks the number and tells it.
    Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3> "$scratch/display" > /dev/null 2>&1 &
    xvfb_pid=$!
    for ((i = 0; i < 100; ++i)); do
        [ -s "$scratch/display" ] && break
        sleep 0.1
    done
    export DISPLAY=:$(head -n 1 "$scratch/display")
    XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/runtime" \
        QT_QPA_PLATFORM=xcb "$scratch/bin/tarvex" > "$scratch/game.log" 2>&1 &
    game_pid=$!
    local settings
    settings=$(timeout 60 xdotool search --sync --onlyvisible --name '設定画面' | head -n 1)
    xdotool windowfocus --sync "$settings"
    # The name box emptied (watching), then the speed: the keypad's digits count with Num Lock on only.
    xdotool key ctrl+a BackSpace Num_Lock "KP_$speed"
    if [ -n "$save" ]; then
        # "前回の続きから", second in the row of buttons under the name box (no window manager, so
        # the settings window sits at the screen's corner at its own size).
        xdotool mousemove --window "$settings" 176 292 click 1
    else
        xdotool key Return
    fi
}
