#!/bin/sh
# Time from asking the window to close during a count of folder sizes to the end of the
# process, in ms: bench/closetime.sh <bench_responsive> <folder>
asked=$("$1" close "$2") || exit 1
ended=$(date +%s%N)
echo "closed in $(( (ended - asked) / 1000000 )) ms"
