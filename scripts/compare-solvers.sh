#!/usr/bin/env bash
# Runs two builds of kolt-32 on the same network files, with every method and
# in both output arrangements, and reports every difference in exit status,
# diagnostics or results, byte for byte.
#
#   scripts/compare-solvers.sh [--ref-rev REV] [--generated N] [REFERENCE] CANDIDATE [FILE|DIR ...]
#
# REFERENCE is a kolt-32 to compare against; --ref-rev REV builds one from a
# git revision (for example main) into build-ref/ instead. Without files the
# examples and the fuzz corpus are used. --generated N adds N networks made
# by kolt-netgen (found beside CANDIDATE) for every method family, all below
# the size at which the sparse solver takes over. A run of either solver that
# takes longer than TIMEOUT seconds (default 60) is left out and counted.
# Exit status 0 when every run agreed, 1 otherwise.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
ref_rev=""
generated=0
while [ $# -gt 0 ]; do
  case "$1" in
    --ref-rev) ref_rev=$2; shift 2 ;;
    --generated) generated=$2; shift 2 ;;
    *) break ;;
  esac
done

if [ -n "$ref_rev" ]; then
  src="$root/build-ref/src"
  rm -rf "$src" && mkdir -p "$src"
  git -C "$root" archive "$ref_rev" | tar -x -C "$src"
  cmake -S "$src" -B "$root/build-ref/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKOLT_WORKBENCH=OFF -DKOLT_BENCH=OFF >/dev/null
  cmake --build "$root/build-ref/build" -j 2 --target kolt-32 >/dev/null
  reference="$root/build-ref/build/bin/kolt-32"
else
  reference=$(realpath "$1"); shift
fi
candidate=$(realpath "$1"); shift

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
timeout=${TIMEOUT:-60}

# The workbench's way of starting the solver: an environment of exactly the
# three entries WINKOLT, diagnostics path, results path (no '=' in them,
# which env(1) cannot give).
cat > "$work/winkolt.c" <<'C'
#include <unistd.h>
int main(int argc, char** argv) {
    char* environment[] = {"WINKOLT", argv[1], argv[2], 0};
    (void)argc;
    execve(argv[3], argv + 3, environment);
    return 127;
}
C
cc -o "$work/winkolt" "$work/winkolt.c"
inputs=("$@")
[ ${#inputs[@]} -eq 0 ] && inputs=("$root/examples" "$root/tests/fuzz/corpus")

files=()
for input in "${inputs[@]}"; do
  if [ -d "$input" ]; then
    while IFS= read -r f; do files+=("$f"); done < <(find "$input" -maxdepth 1 -type f | sort)
  else
    files+=("$input")
  fi
done

if [ "$generated" -gt 0 ]; then
  netgen="$(dirname "$candidate")/kolt-netgen"
  mkdir -p "$work/generated"
  families=(mva mvap hmva jackson diff)
  for ((i = 1; i <= generated; i++)); do
    family=${families[$((i % 5))]}
    stations=$((2 + (i * 7) % 40))
    [ $((i % 10)) -eq 0 ] && stations=$((200 + i % 200))
    case $family in
      mva)  classes=$(( (i % 3) + 1 )); pops=$(seq -s, 1 $classes | sed 's/[0-9]*/'$((1 + i % 6))'/g') ;;
      mvap) stations=$((2 + i % 12)); pops="$((1 + i % 4)),$((1 + i % 3))" ;;
      hmva) pops="$((1 + i % 9)),$((2 + i % 5)),$((1 + i % 3))" ;;
      *)    pops=$(( (i % 3) + 1 )); [ "$stations" -gt 160 ] && pops=1 ;;
    esac
    [ "$family" = mva ] && [ "$stations" -gt 40 ] && pops=$((3 + i % 5))
    "$netgen" "$family" "$stations" "$pops" $((1 + i % 4)) "$i" > "$work/generated/gen-$i-$family.klt"
    files+=("$work/generated/gen-$i-$family.klt")
  done
fi

# One run: status, diagnostics and results in WINKOLT mode, then the console
# and wyniki.txt of plain mode; the file is copied under one name so that the
# diagnostics name the same path.
run() {  # solver dir file method
  local solver=$1 dir=$2 file=$3 method=$4
  rm -rf "$dir" && mkdir -p "$dir"
  cp "$file" "$dir/siec.klt"
  (cd "$dir" && set +e
   timeout "$timeout" "$work/winkolt" siec.err siec.wnk "$solver" siec.klt "$method" </dev/null >/dev/null 2>&1
   echo "status $?" > status
   timeout "$timeout" "$solver" siec.klt "$method" </dev/null >console 2>&1
   echo "plain status $?" >> status) || true
  rm -f "$dir/siec.klt"
}

runs=0
differences=0
slow=0
for file in "${files[@]}"; do
  for method in MVA MVAP HMVA JACKSON DIFF -c; do
    run "$reference" "$work/ref" "$file" "$method"
    run "$candidate" "$work/new" "$file" "$method"
    runs=$((runs + 1))
    if grep -q " 124$" "$work/ref/status" "$work/new/status"; then
      slow=$((slow + 1))
      echo "POMINIĘTO (ponad ${timeout} s): $file $method"
    elif ! diff -r -q "$work/ref" "$work/new" >/dev/null; then
      differences=$((differences + 1))
      echo "RÓŻNICA: $file $method"
      diff -r "$work/ref" "$work/new" | head -20 || true
    fi
  done
done
echo "$runs runs, $differences with differences, $slow left out as too slow"
[ "$differences" -eq 0 ]
