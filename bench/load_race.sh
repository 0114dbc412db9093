#!/usr/bin/env bash
# A load racing the saves of other games: one program saves a new game into one
# slot again and again while another loads it, for SECONDS. Counts the loads that
# met another save's chronicle (the history lost before loads shared the lock).
# Usage: bench/load_race.sh SIM [SECONDS]
set -u
sim=$1
seconds=${2:-60}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$sim" --years 1 --seed 1 --save "$dir/S.dt" > /dev/null
end=$((SECONDS + seconds))
(
    i=0
    while [ $SECONDS -lt $end ]; do
        i=$((i + 1))
        # Every save another game's: the seeds differ.
        if "$sim" --years 1 --seed $((i % 50 + 2)) --save "$dir/S.dt" > /dev/null 2>> "$dir/saves.err"; then
            echo >> "$dir/saved"
        else
            echo >> "$dir/failed"
        fi
    done
) &
loads=0 lost=0 failed=0
while [ $SECONDS -lt $end ]; do
    loads=$((loads + 1))
    "$sim" --load "$dir/S.dt" --years 0 > /dev/null 2> "$dir/load.err"
    status=$?
    if grep -q "its chronicle cannot be read" "$dir/load.err"; then
        lost=$((lost + 1))
    elif [ $status -ne 0 ]; then
        failed=$((failed + 1))
        cat "$dir/load.err" >&2
    fi
done
wait
saved=$(cat "$dir/saved" 2> /dev/null | wc -l)
unsaved=$(cat "$dir/failed" 2> /dev/null | wc -l)
echo "loads: $loads, with another save's chronicle: $lost, failed otherwise: $failed; saves: $saved, failed: $unsaved"
