#!/bin/bash
# The save and its chronicle under interruption and contention, measured with tarvex-sim:
#   bench/save_pair_soak.sh BUILD_DIR [KILLS] [SECONDS] [FROM]
# 1. KILLS runs of `--load A --years 5 --seed i --save S`, each killed (SIGKILL) after a
#    random moment between FROM (a fraction, default 0) and the whole of a run's time
#    (a later FROM aims at the save at the end); after each, S must load with its whole
#    chronicle: as many entries as the complete run of the game S holds wrote.
# 2. Two loops saving into one file for SECONDS: every save must succeed, S must load whole.
set -u
sim="$1/tarvex-sim"
kills=${2:-300}
seconds=${3:-60}
from=${4:-0}
[ -x "$sim" ] || { echo "missing $sim" >&2; exit 2; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 2

entries() { # the entries of the chronicle beside a save, as the simulator reads it back
    "$sim" --load "$1" --years 0 --chronicle "$scratch/count.tsv" > /dev/null || { echo -1; return; }
    echo $(($(wc -l < "$scratch/count.tsv") - 1))
}

"$sim" --years 30 --seed 3 --save A.dt > /dev/null || exit 2
start=$(date +%s%N)
"$sim" --load A.dt --years 5 --seed 1 --save ref.dt > /dev/null
run_ms=$(( ($(date +%s%N) - start) / 1000000 + 2 ))
echo "one run: about ${run_ms} ms"

killed=0 whole=0 broken=0 newer=0 held=0 saving=0
declare -A expected
for ((i = 1; i <= kills; ++i)); do
    # The complete run of this seed, for the entries its save must come with.
    "$sim" --load A.dt --years 5 --seed "$i" --save "ref$i.dt" > /dev/null
    expected[$i]=$(entries "ref$i.dt")
    delay=$(awk -v max="$run_ms" -v from="$from" -v r="$RANDOM" \
        'BEGIN { printf "%.4f", (from + (1 - from) * r / 32768) * max / 1000 }')
    (timeout -s KILL "$delay" "$sim" --load A.dt --years 5 --seed "$i" --save S.dt > /dev/null 2>&1) 2> /dev/null
    if [ $? -eq 137 ]; then
        killed=$((killed + 1))
        # Stopped inside the save: a file being written, or the old chronicle kept aside, is left.
        compgen -G "S.*.tmp-*" > /dev/null || [ -e S.chronicle.prev ] && saving=$((saving + 1))
    fi
    [ -f S.dt ] || continue
    holds=
    for k in "$i" "$held"; do
        if cmp -s S.dt "ref$k.dt"; then holds=$k; break; fi
    done
    got=$(entries S.dt)
    if [ -n "$holds" ] && [ "$got" = "${expected[$holds]}" ]; then
        whole=$((whole + 1))
        [ "$holds" = "$i" ] && newer=$((newer + 1))
    else
        broken=$((broken + 1))
        echo "run $i: S.dt is run ${holds:-?}'s, its chronicle has $got entries, not ${expected[${holds:-0}]:-?}"
    fi
    # Only the run S holds may be needed again.
    if [ -n "$holds" ] && [ "$holds" != "$held" ]; then
        rm -f "ref$held.dt" "ref$held.chronicle"
        held=$holds
    fi
    [ "$held" != "$i" ] && rm -f "ref$i.dt" "ref$i.chronicle"
done
echo "kill loop: $kills runs, $killed killed ($saving inside the save), S loaded whole $whole times ($newer with the newest save), $broken not"

[ "$seconds" -gt 0 ] || exit $((broken > 0))
rm -f S.dt S.chronicle
loop() {
    local saves=0 failures=0 end=$(($(date +%s) + seconds))
    while [ "$(date +%s)" -lt "$end" ]; do
        if "$sim" --years 1 --seed $((RANDOM + $1)) --save S.dt > /dev/null 2> "err$1"; then
            saves=$((saves + 1))
        else
            failures=$((failures + 1))
            cat "err$1" >&2
        fi
    done
    echo "$saves $failures" > "loop$1"
}
loop 1 & loop 2 & wait
read -r s1 f1 < loop1
read -r s2 f2 < loop2
"$sim" --load S.dt --years 0 --check > /dev/null && loads=yes || loads=no
echo "two loops for ${seconds}s: $((s1 + s2)) saves, $((f1 + f2)) failures; S loads: $loads, its chronicle $(entries S.dt) entries"
