#!/usr/bin/env bash
# Fails when an include under src/ points up the floors of the layout (app over ui over
# fileops, drives and output over listing over platform and shell), or climbs with "../".
# Widget headers outside ui/ and app/ fail already at compile time: vennic_core does not
# see Qt Widgets.
set -euo pipefail
src=${1:-"$(dirname "$0")/../src"}
floor() {
    case $1 in
    app) echo 5 ;;
    ui) echo 4 ;;
    fileops | drives | output) echo 3 ;;
    listing) echo 2 ;;
    platform | shell) echo 1 ;;
    *) echo 0 ;;
    esac
}
status=0
while IFS=: read -r file line text; do
    from=${file#"$src"/}
    from=${from%%/*}
    target=$(sed -E 's/^#include "([^"]*)".*/\1/' <<<"$text")
    if [[ $target == *../* ]]; then
        echo "$file:$line: includes through \"../\": $target"
        status=1
        continue
    fi
    to=${target%%/*}
    [[ $to == "$target" ]] && continue # a header of the same folder, by its name alone
    if (($(floor "$from") == 0 || $(floor "$to") == 0)); then
        echo "$file:$line: $from or $to is a folder with no floor; give it one here"
        status=1
    elif (($(floor "$to") > $(floor "$from"))); then
        echo "$file:$line: $from includes $target, from a floor above it"
        status=1
    fi
done < <(grep -rn --include='*.h' --include='*.cpp' '^#include "' "$src")
exit $status
