#!/usr/bin/env bash
# Runs the solver on an example in a scratch directory and shows what it wrote.
set -euo pipefail
solver=$(readlink -f "$1")
example=$(readlink -f "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
status=0
# Plain mode waits for ENTER at the end: feed it one.
echo | "$solver" "$example" || status=$?
echo
echo "=== wyniki.txt ==="
if command -v iconv >/dev/null; then iconv -f WINDOWS-1250 -t UTF-8 wyniki.txt; else cat wyniki.txt; fi
exit $status
