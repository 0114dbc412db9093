#!/usr/bin/env bash
# How long the window leaves the desktop waiting around each season's start (where the autosave
# is made) in a watched game, started as common.sh's start_watched_game says at message speed
# SPEED; with SAVE (a save file, its chronicle beside it) it goes on from that save, so a long
# game's history is written at every season start. tools/window_ping.py pings the main window
# every 20 ms for SECONDS and traces each answer with the caption; each change of the caption is
# a season's start. Prints the whole run's figures, then the longest answer within a second
# either side of each season's start, and halfway between season starts for comparison.
# Needs Xvfb, xdotool and python3-xlib.
# Usage: bench/season_start_ping.sh BUILD_DIR SPEED SECONDS [SAVE]
set -euo pipefail
build=${1:?build directory}
speed=${2:?message speed, 1 to 4}
seconds=${3:?seconds to ping}
save=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
/usr/bin/python3 -c 'import Xlib' 2> /dev/null || { echo "missing python3-xlib" >&2; exit 2; }
start_watched_game "$build" "$speed" "$save"
main=$(timeout 60 xdotool search --sync --onlyvisible --name '年目の' | head -n 1)
# Going on from a save: its season in the caption first, so the load is not taken for a season start.
for ((i = 0; i < 600; ++i)); do
  [ -z "$save" ] || [ "$(xdotool getwindowname "$main")" != "1年目の春" ] && break
  sleep 0.1
done
/usr/bin/python3 "$here/../tools/window_ping.py" "$main" "$seconds" 0.02 "$scratch/trace"
/usr/bin/python3 - "$scratch/trace" <<'PY'
import sys
rows = []
for line in open(sys.argv[1], encoding="utf-8"):
    parts = line.rstrip("\n").split(" ", 2)
    rows.append((float(parts[0]), float(parts[1]), parts[2] if len(parts) > 2 else ""))
starts = [rows[i][0] for i in range(1, len(rows)) if rows[i][2] and rows[i][2] != rows[i - 1][2]]
def longest_near(moments):
    return sorted(max((d for t, d, _ in rows if m - 1.0 <= t <= m + 1.0), default=0.0) for m in moments)
if starts:
    worst = longest_near(starts)
    print("season starts %d: longest answer near each, median %.4f s, worst %.4f s (%s to %s)"
          % (len(worst), worst[len(worst) // 2], worst[-1], rows[0][2], rows[-1][2]))
    # The same two seconds halfway between season starts, to see what a season start adds.
    calm = longest_near([(a + b) / 2 for a, b in zip(starts, starts[1:])])
    if calm:
        print("halfway between them %d: median %.4f s, worst %.4f s" % (len(calm), calm[len(calm) // 2], calm[-1]))
else:
    print("no season started while pinging")
PY
