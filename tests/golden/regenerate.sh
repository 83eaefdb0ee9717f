#!/usr/bin/env bash
# Rewrites the golden results in this directory from the solver as built:
# every example network under every method it admits, as the test
# Golden.EveryExampleUnderEveryMethodItAdmits runs them
# (tests/solver/test_golden.cpp). Review `git diff tests/golden` before
# committing: a change there is a change of what users get.
#   tests/golden/regenerate.sh [build directory, default: build]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target kolt-32 kolt_solver_tests -j 2
rm -f "$root"/tests/golden/*.err "$root"/tests/golden/*.wnk "$root"/tests/golden/*.txt
KOLT_REGENERATE_GOLDEN=1 "$build/bin/kolt_solver_tests" --gtest_filter='Golden.*'
git -C "$root" status --short -- tests/golden
