#!/usr/bin/env bash
# How long the window leaves the desktop waiting around each season's start (where the autosave
# is made) in a watched game: `tarvex` under a private Xvfb (1600x1200), the nation left empty
# (watching), "自動で進める" on, the help panels closed, message speed SPEED. With SAVE (a save
# file, its chronicle beside it) the game goes on from it as from its autosave ("前回の続きから"),
# so a long game's history is written at every season start. tools/window_ping.py pings the main
# window every 20 ms for SECONDS and traces each answer with the caption; each change of the
# caption is a season's start. Prints the whole run's figures, then the longest answer within a
# second either side of each season's start, and halfway between season starts for comparison.
# Needs Xvfb, xdotool and python3-xlib.
# Usage: bench/season_start_ping.sh BUILD_DIR SPEED SECONDS [SAVE]
set -euo pipefail
build=${1:?build directory}
speed=${2:?message speed, 1 to 4}
seconds=${3:?seconds to ping}
save=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool; do
  command -v "$tool" > /dev/null || { echo "missing $tool (packages xvfb, xdotool)" >&2; exit 2; }
done
/usr/bin/python3 -c 'import Xlib' 2> /dev/null || { echo "missing python3-xlib" >&2; exit 2; }
[ -x "$build/tarvex" ] || { echo "missing $build/tarvex: build the game first" >&2; exit 2; }
scratch=$(mktemp -d)
xvfb_pid=
game_pid=
trap '[ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null; [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$scratch"' EXIT

mkdir -p "$scratch/bin" "$scratch/config/Tarvex" "$scratch/data" "$scratch/runtime"
chmod 700 "$scratch/runtime"
cp "$build/tarvex" "$scratch/bin/"
if [ -n "$save" ]; then
  cp "$save" "$scratch/bin/Autosave.dt"
  cp "${save%.dt}.chronicle" "$scratch/bin/Autosave.chronicle"
  [ -f "$save.strength" ] && cp "$save.strength" "$scratch/bin/Autosave.strength"
fi
cat > "$scratch/config/Tarvex/Tarvex.conf" <<'CONF'
[help]
buttonsClosed=true
citiesClosed=true
nationClosed=true
numbersClosed=true

[turn]
autoPlay=true
CONF

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
settings=$(timeout 60 xdotool search --sync --onlyvisible --name '設定画面' | head -n 1)
xdotool windowfocus --sync "$settings"
# The name box emptied (watching), then the speed: the keypad's digits count with Num Lock on only.
xdotool key ctrl+a BackSpace Num_Lock "KP_$speed"
if [ -n "$save" ]; then
  # "前回の続きから", second in the row of buttons under the name box (no window manager, so the
  # settings window sits at the screen's corner at its own size).
  xdotool mousemove --window "$settings" 176 292 click 1
else
  xdotool key Return
fi
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
