#!/usr/bin/env bash
# Runs the solver on an example in a scratch directory and shows what it wrote.
# The solver writes the console in the terminal's encoding itself; the results
# file stays Windows-1250 and is shown converted on a UTF-8 terminal.
set -euo pipefail
solver=$(readlink -f "$1")
example=$(readlink -f "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

show() {
  if [ "$(locale charmap 2>/dev/null)" = UTF-8 ] && command -v iconv >/dev/null; then
    iconv -f WINDOWS-1250 -t UTF-8
  else
    cat
  fi
}

# Plain mode waits for ENTER at the end: feed it one.
set +e
echo | "$solver" "$example"
status=$?
set -e
echo
echo "=== wyniki.txt ==="
[ -f wyniki.txt ] && show < wyniki.txt
exit "$status"
