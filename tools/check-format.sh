#!/usr/bin/env bash
# Fails when a source file differs from what clang-format (.clang-format) makes of it.
# `clang-format -i` on the files it names mends them.
set -euo pipefail
cd "$(dirname "$0")/.."
find src tests bench fuzz -name '*.h' -o -name '*.cpp' | sort | xargs clang-format --dry-run -Werror
