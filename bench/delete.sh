#!/usr/bin/env bash
# Deletes 100,000 files as marked rows of the window and with find, on fresh copies of the same
# flat tree, in alternating pairs, and prints each pair's times and the median ratio.
#   bench/delete.sh <pairs> [work folder]
set -euo pipefail
pairs=$1
work=${2:-/var/tmp/vb/delete}
bin=$(cd "$(dirname "$0")/.." && pwd)/build/bench
mkdir -p "$work"
cd "$work"
ratios=()
for ((i = 0; i < pairs; i++)); do
    rm -rf a b
    "$bin/gentree" flat a >/dev/null
    "$bin/gentree" flat b >/dev/null
    sync
    ours=$("$bin/bench_responsive" delete "$work/a" 2>/dev/null | sed -n 's/.* in \([0-9.]*\) ms.*/\1/p')
    start=$(date +%s%N)
    find b -type f -delete
    end=$(date +%s%N)
    theirs=$(echo "scale=3; ($end - $start) / 1000000" | bc)
    ratios+=("$(echo "scale=4; $ours / $theirs" | bc)")
    echo "ours $ours ms, find $theirs ms"
done
printf '%s\n' "${ratios[@]}" | sort -g | awk '{v[NR]=$1} END {print "median ratio " v[int((NR+1)/2)]}'
