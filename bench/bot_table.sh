#!/usr/bin/env bash
# The bot's table: for each nation, SEEDS games of up to 300 years with the bot
# commanding it, and as many with the computer playing every nation; how often
# the nation unifies the map, the median year it does, how often it is wiped out.
# Usage: bench/bot_table.sh SIM [SEEDS] [NATION...]
set -euo pipefail
sim=$1
seeds=${2:-50}
shift $(( $# >= 2 ? 2 : 1 ))
nations=("$@")
[ ${#nations[@]} -eq 0 ] && nations=(フランス王国 カスティリャ王国 スコットランド王国)
jobs=$(nproc 2>/dev/null || echo 2)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { sort -n | awk '{a[NR]=$1} END {if (NR) print a[int((NR+1)/2)]; else print "-"}'; }

# The computer's games do not depend on the nation: one set serves every row.
seq 1 "$seeds" | xargs -P "$jobs" -I{} sh -c "'$sim' --seed {} --years 300 > '$work/computer{}.txt'"
echo "| Nation | Bot unifies | Bot's median year | Bot wiped out | Computer unifies | Computer's median year |"
echo "|---|---:|---:|---:|---:|---:|"
for nation in "${nations[@]}"; do
  seq 1 "$seeds" | xargs -P "$jobs" -I{} sh -c "'$sim' --bot '$nation' --seed {} --years 300 > '$work/bot{}.txt'"
  bot_years=$( (grep -l "^unified: $nation\$" "$work"/bot*.txt || true) | xargs -r grep -h "^year" | awk '{print $2}')
  bot_unified=$(printf '%s' "$bot_years" | grep -c . || true)
  wiped=$( (grep -l "wiped out" "$work"/bot*.txt || true) | wc -l)
  computer_years=$( (grep -l "^unified: $nation\$" "$work"/computer*.txt || true) | xargs -r grep -h "^year" | awk '{print $2}')
  computer_unified=$(printf '%s' "$computer_years" | grep -c . || true)
  echo "| $nation | $bot_unified / $seeds | $(printf '%s\n' "$bot_years" | grep . | median) | $wiped / $seeds | $computer_unified / $seeds | $(printf '%s\n' "$computer_years" | grep . | median) |"
done
