#!/usr/bin/env bash
# Times two whole commands in alternating pairs (A B A B ...) after one warm-up of each and
# prints the median of the per-pair ratios A/B, with the medians of A and B.
#   bench/compare.sh <pairs> '<command A>' '<command B>'
# Both commands run through bash with output sent to /dev/null.
set -euo pipefail
pairs=$1
a=$2
b=$3

run() { # prints the wall time of one run in seconds
    local start end
    start=$(date +%s%N)
    bash -c "$1" >/dev/null 2>&1 || { echo "failed: $1" >&2; exit 1; }
    end=$(date +%s%N)
    echo "scale=6; ($end - $start) / 1000000000" | bc
}

run "$a" >/dev/null
run "$b" >/dev/null
ratios=()
as=()
bs=()
for ((i = 0; i < pairs; i++)); do
    ta=$(run "$a")
    tb=$(run "$b")
    as+=("$ta")
    bs+=("$tb")
    ratios+=("$(echo "scale=6; $ta / $tb" | bc)")
done
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {if (NR%2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }
echo "A median $(median "${as[@]}") s, B median $(median "${bs[@]}") s, median ratio A/B $(median "${ratios[@]}") over $pairs pairs"
