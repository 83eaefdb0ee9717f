#!/usr/bin/env bash
# The completion offers network files first, then the methods.
# Usage: bash_completion.sh SCRIPT
set -uo pipefail
source "$1"
failed=0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir modele
touch siec.klt STARA.KLT notatki.txt modele/opis.txt

# What the completion function offers for a command line whose last word is
# being completed, sorted, on one line.
offered() {
    local function=$1; shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    "$function" 2>/dev/null
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd ' '
}
expect() {
    [[ $2 == "$3" ]] || { echo "FAIL: $1: offered '$2', expected '$3'" >&2; failed=1; }
}

expect "network files and folders" "$(offered _kolt_32 kolt-32 '')" "STARA.KLT modele siec.klt"
expect "every file where no network file is" "$(offered _kolt_32 kolt-32 modele/)" "modele/opis.txt"
expect "switches" "$(offered _kolt_32 kolt-32 --)" "--help --version"
expect "methods after the file" "$(offered _kolt_32 kolt-32 siec.klt '')" "-c DIFF HMVA JACKSON MVA MVAP SIMUL"
expect "methods by prefix" "$(offered _kolt_32 kolt-32 siec.klt MV)" "MVA MVAP"
expect "nothing after the method" "$(offered _kolt_32 kolt-32 siec.klt MVA '')" ""
expect "nothing after --help" "$(offered _kolt_32 kolt-32 --help '')" ""
expect "the workbench opens network files" "$(offered _winkolt WinKolt s)" "siec.klt"
expect "the workbench prints network files" "$(offered _winkolt WinKolt --print '')" "STARA.KLT modele siec.klt"
exit $failed
