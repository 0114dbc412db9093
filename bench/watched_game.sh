#!/usr/bin/env bash
# A watched game that plays itself, timed season by season: `tarvex` under a
# private Xvfb (1600x1200), the nation left empty (watching), "自動で進める" on, the
# help panels closed, the message speed chosen on the settings screen (keypad
# digit, then Enter), no key pressed after that. The main window's caption
# ("N年目の季節") is polled every 0.1 s; each season's time runs from one change of
# it to the next, and the total from the first spring to the caption SEASONS
# seasons later. The game starts as common.sh's start_watched_game says.
# Needs Xvfb and xdotool.
# Usage: bench/watched_game.sh BUILD_DIR SPEED [SEASONS]   (SPEED 1 to 4; SEASONS 5 by default)
set -euo pipefail
build=${1:?build directory}
speed=${2:?message speed, 1 to 4}
seasons=${3:-5}
source "$(dirname "$0")/common.sh"
start_watched_game "$build" "$speed"

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
