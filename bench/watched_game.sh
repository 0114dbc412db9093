#!/usr/bin/env bash
# A watched game that plays itself, timed season by season: `tarvex` under a
# private Xvfb (1600x1200), the nation left empty (watching), "自動で進める" on, the
# help panels closed, the message speed chosen on the settings screen (keypad
# digit, then Enter), no key pressed after that. The main window's caption
# ("N年目の季節") is polled every 0.1 s; each season's time runs from one change of
# it to the next, and the total from the first spring to the caption SEASONS
# seasons later. The game runs from a copy of the program in a scratch folder, so
# its saves and autosaves never land in the build tree, with a fresh profile.
# Needs Xvfb and xdotool.
# Usage: bench/watched_game.sh BUILD_DIR SPEED [SEASONS]   (SPEED 1 to 4; SEASONS 5 by default)
set -euo pipefail
build=${1:?build directory}
speed=${2:?message speed, 1 to 4}
seasons=${3:-5}
source "$(dirname "$0")/common.sh"
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
cat > "$scratch/config/Tarvex/Tarvex.conf" <<'CONF'
[help]
buttonsClosed=true
citiesClosed=true
nationClosed=true
numbersClosed=true

[turn]
autoPlay=true
CONF

# A display no other X server holds: Xvfb picks the number and tells it.
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3> "$scratch/display" > /dev/null 2>&1 &
xvfb_pid=$!
for ((i = 0; i < 100; ++i)); do
  [ -s "$scratch/display" ] && break
  sleep 0.1
done
display=:$(head -n 1 "$scratch/display")
DISPLAY=$display XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/runtime" \
  QT_QPA_PLATFORM=xcb "$scratch/bin/tarvex" > "$scratch/game.log" 2>&1 &
game_pid=$!
export DISPLAY=$display
settings=$(timeout 60 xdotool search --sync --onlyvisible --name '設定画面' | head -n 1)
xdotool windowfocus --sync "$settings"
# The name box emptied (watching), then the speed: the keypad's digits count with Num Lock on only.
xdotool key ctrl+a BackSpace Num_Lock "KP_$speed" Return

caption() { xdotool search --onlyvisible --name '年目の' getwindowname 2>/dev/null | head -n 1 || true; }
now() { date +%s.%N; }
last=""
start=""
changed=""
count=-1
while [ "$count" -lt "$seasons" ]; do
  kill -0 "$game_pid" 2>/dev/null || { echo "the game ended early:" >&2; cat "$scratch/game.log" >&2; exit 1; }
  title=$(caption)
  if [ -n "$title" ] && [ "$title" != "$last" ]; then
    t=$(now)
    if [ -z "$start" ]; then
      start=$t
    else
      awk -v a="$changed" -v b="$t" -v s="$last" 'BEGIN { printf "%s: %.1f s\n", s, b - a }'
    fi
    changed=$t
    last=$title
    count=$((count + 1))
  fi
  sleep 0.1
done
awk -v a="$start" -v b="$changed" -v n="$seasons" -v s="$last" -v v="$speed" \
  'BEGIN { printf "speed %s: %d seasons from the first spring to \"%s\" in %.0f s\n", v, n, s, b - a }'
