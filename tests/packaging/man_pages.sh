#!/usr/bin/env bash
# The manual pages render without a warning, name themselves for whatis, and
# every example network marked "checked: METHOD" is solved by that method.
# Usage: man_pages.sh SOLVER PAGE...
set -euo pipefail
solver=$1; shift
export LC_ALL=C.UTF-8
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

checked=0
for page in "$@"; do
    name=$(basename "$page")
    # -k: the pages are UTF-8, read through preconv as man(1) does.
    warnings=$(groff -k -ww -man -Tutf8 "$page" 2>&1 >/dev/null) || fail "$name: groff failed"
    [[ -z $warnings ]] || fail "$name: $warnings"
    lexgrog "$page" >/dev/null || fail "$name: no NAZWA line that whatis can read"

    # Each marked example: the lines between .EX and .EE, unescaped, in the
    # network file's code page.
    while read -r start method; do
        checked=$((checked + 1))
        network="$work/$name-$start.klt"
        awk -v from="$start" 'NR > from && /^\.EE/ { exit } NR > from + 1' "$page" |
            sed -e 's/\\-/-/g' -e 's/\\&//g' -e 's/\\e/\\/g' | iconv -f UTF-8 -t CP1250 > "$network"
        status=0
        (cd "$work" && "$solver" "$network" "$method" < /dev/null > "$work/console" 2>&1) || status=$?
        [[ $status == 0 ]] || fail "$name: the example at line $start fails with $method: $(iconv -f CP1250 -t UTF-8 < "$work/console")"
    done < <(awk '/^\.\\" checked: / { print NR, $3 }' "$page")
done
((checked > 0)) || fail "no checked example found"
exit $failed
