#!/usr/bin/env bash
# Runs the solver on an example in a scratch directory and shows what it wrote
# (its texts are Windows-1250; they are shown in the terminal's UTF-8).
set -euo pipefail
solver=$(readlink -f "$1")
example=$(readlink -f "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

show() {
  if command -v iconv >/dev/null; then iconv -f WINDOWS-1250 -t UTF-8; else cat; fi
}

# Plain mode waits for ENTER at the end: feed it one.
set +e
echo | "$solver" "$example" 2>&1 | show
status=${PIPESTATUS[1]}
set -e
echo
echo "=== wyniki.txt ==="
[ -f wyniki.txt ] && show < wyniki.txt
exit "$status"
