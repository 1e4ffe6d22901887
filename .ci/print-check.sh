#!/usr/bin/env bash
# CI: prints a listing through a real print system. Installs CUPS, its cups-pdf backend and
# pdftotext, builds, and runs the test that starts a scheduler of its own with a PDF-writing queue
# as the default printer, prints through the program's normal print path and reads the PDF back.
# A failed test fails the check; a skipped one (not root, a tool missing) says why.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh
vennic_install_missing "${VENNIC_PRINT_CHECK_PACKAGES[@]}"
vennic_build

export QT_QPA_PLATFORM=offscreen
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
build/tests/systemprint_uitest 2>&1 | tee "$log" || status=$?
if [ "$status" -ne 0 ]; then
    echo "The system print check failed." >&2
    exit 1
fi
if grep -q '^\[  SKIPPED \]' "$log"; then
    # Google Test prints the reason on the line after "file:line: Skipped".
    echo "The system print check was skipped:"
    awk '/: Skipped$/ { if (getline line > 0) print "  " line }' "$log" | sort -u
fi
