#!/usr/bin/env bash
# The computer's strength levels against the bot: for each nation and level,
# SEEDS games of up to 300 years with the bot commanding the nation and the
# computer playing every other nation at that level; how often the bot unifies
# the map, the median year it does, how often it is wiped out. Then, without
# the bot, the same nation played by the computer at the strongest level among
# computers of the first level, beside all of them at the first. The default
# nations: the largest, the smallest and a middling one.
# Usage: bench/strength_table.sh SIM [SEEDS] [NATION...]
set -euo pipefail
sim=$1
seeds=${2:-50}
shift $(( $# >= 2 ? 2 : 1 ))
nations=("$@")
[ ${#nations[@]} -eq 0 ] && nations=(フランス王国 スコットランド王国 カスティリャ王国)
jobs=$(nproc 2>/dev/null || echo 2)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { sort -n | awk '{a[NR]=$1} END {if (NR) print a[int((NR+1)/2)]; else print "-"}'; }

# Games of one kind (the files $work/$1*.txt) that NATION unified: their years, one a line.
years_of() { (grep -l "^unified: $2\$" "$work/$1"*.txt || true) | xargs -r grep -h "^year" | awk '{print $2}'; }
count() { grep -c . || true; }

echo "| Nation | Level | Bot unifies | Bot's median year | Bot wiped out |"
echo "|---|---:|---:|---:|---:|"
for nation in "${nations[@]}"; do
  for level in 1 2 3; do
    rm -f "$work"/bot*.txt
    seq 1 "$seeds" | xargs -P "$jobs" -I{} sh -c \
      "'$sim' --bot '$nation' --strength $level --seed {} --years 300 > '$work/bot{}.txt'"
    years=$(years_of bot "$nation")
    wiped=$( (grep -l "wiped out" "$work"/bot*.txt || true) | wc -l)
    echo "| $nation | $level | $(printf '%s' "$years" | count) / $seeds | $(printf '%s\n' "$years" | grep . | median) | $wiped / $seeds |"
  done
done

echo
echo "| Nation | Computer unifies, all at level 1 | Median year | Nation at level 3, the rest at 1 | Median year |"
echo "|---|---:|---:|---:|---:|"
seq 1 "$seeds" | xargs -P "$jobs" -I{} sh -c "'$sim' --seed {} --years 300 > '$work/plain{}.txt'"
for nation in "${nations[@]}"; do
  rm -f "$work"/strong*.txt
  seq 1 "$seeds" | xargs -P "$jobs" -I{} sh -c \
    "'$sim' --strength-of '$nation=3' --seed {} --years 300 > '$work/strong{}.txt'"
  plain=$(years_of plain "$nation")
  strong=$(years_of strong "$nation")
  echo "| $nation | $(printf '%s' "$plain" | count) / $seeds | $(printf '%s\n' "$plain" | grep . | median) |" \
       "$(printf '%s' "$strong" | count) / $seeds | $(printf '%s\n' "$strong" | grep . | median) |"
done
