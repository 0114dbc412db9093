#!/bin/bash
# The game's own save killed at random moments, under Xvfb:
#   bench/save_pair_gui_kills.sh BUILD_DIR [SAVES] [DISPLAY]
# Each round the game loads save B, another game's pair C is put in the slot, the
# player saves from the menu ("セーブ") and the game is killed (SIGKILL) a random
# 0 to 60 ms after the key; the slot must then hold B or C with its whole chronicle.
set -u
build=$1
saves=${2:-50}
display=${3:-:71}
sim="$build/tarvex-sim"
scratch=$(mktemp -d)
xvfb=
cleanup() { [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null; rm -rf "$scratch"; }
trap cleanup EXIT
cp "$build/tarvex" "$scratch/" || exit 2
cd "$scratch" || exit 2
if ! DISPLAY=$display xdpyinfo > /dev/null 2>&1; then
    Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp > /dev/null 2>&1 &
    xvfb=$!
    sleep 2
fi
export DISPLAY=$display

entries() {
    "$sim" --load "$1" --years 0 --chronicle count.tsv > /dev/null || { echo -1; return; }
    echo $(($(wc -l < count.tsv) - 1))
}
window() { # the first window whose name matches, waited for
    for ((t = 0; t < 50; ++t)); do
        w=$(xdotool search --name "$1" 2> /dev/null | head -1)
        [ -n "$w" ] && { echo "$w"; return; }
        sleep 0.1
    done
}

"$sim" --years 40 --seed 11 --save B.dt > /dev/null
"$sim" --years 50 --seed 12 --save C.dt > /dev/null
b=$(entries B.dt) c=$(entries C.dt)
whole=0 broken=0 newer=0 rounds=0
for ((i = 1; i <= saves; ++i)); do
    cp B.dt Game.dt && cp B.chronicle Game.chronicle
    rm -f Game.chronicle.prev
    HOME=$scratch XDG_DATA_HOME=$scratch/xdg ./tarvex > /dev/null 2> game.err &
    game=$!
    w=$(window "設定画面")
    [ -n "$w" ] || { kill -9 "$game" 2> /dev/null; echo "round $i: no settings screen:"; cat game.err; continue; }
    xdotool windowfocus --sync "$w" 2> /dev/null; xdotool key Return
    w=$(window "1年目の春")
    xdotool windowfocus --sync "$w" 2> /dev/null; xdotool key alt+a; sleep 0.3; xdotool key l
    w=$(window "41年目の春")
    [ -n "$w" ] || { kill -9 "$game" 2> /dev/null; echo "round $i: the save did not load"; continue; }
    sleep 0.5
    xdotool key Return  # ロードしました
    sleep 0.3
    # Another game takes the slot meanwhile: the save must keep its history until it replaces it.
    cp C.dt Game.dt && cp C.chronicle Game.chronicle
    xdotool windowfocus --sync "$w" 2> /dev/null; xdotool key alt+a; sleep 0.3
    xdotool key s
    sleep "$(awk -v r="$RANDOM" 'BEGIN { printf "%.3f", r / 32768 * 0.06 }')"
    kill -9 "$game"
    wait "$game" 2> /dev/null
    rounds=$((rounds + 1))
    got=$(entries Game.dt)
    if cmp -s Game.dt B.dt && [ "$got" = "$b" ]; then
        whole=$((whole + 1)) newer=$((newer + 1))
    elif cmp -s Game.dt C.dt && [ "$got" = "$c" ]; then
        whole=$((whole + 1))
    else
        broken=$((broken + 1))
        echo "round $i: the slot's chronicle has $got entries (B $b, C $c)"
    fi
done
echo "game saves killed: $rounds rounds, the slot loaded whole $whole times ($newer with the new save), $broken not"
