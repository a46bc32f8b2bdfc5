#!/usr/bin/env bash
# Every end-to-end scenario in the stand-in Word with Wine's heap checks on
# (PLOVERA_HEAP_CHECK=1: the heap is validated at every allocation and free,
# and a scenario fails on any error of Wine's heap channel). Slower than
# scripts/test.sh, which runs only a few scenarios so. Builds the Windows
# programs first; ends with "N passed, M failed" and exits non-zero on a
# failure. Output in build/heap-check (PLOVERA_TEST_OUT to change).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out=${PLOVERA_TEST_OUT:-$root/build/heap-check}
mkdir -p "$out"
scripts/deps.sh || { echo "0 passed, 1 failed"; exit 1; }
scripts/build.sh windows >"$out/build-windows.log" 2>&1 || {
  tail -n 20 "$out/build-windows.log"
  echo "0 passed, 1 failed"
  exit 1
}
passed=0
failed=0
failures=()
# One whose name has a further dot ("restart.then.txt") is the second part
# of another and runs with it.
for scenario in tests/e2e/scenarios/*.txt; do
  name=$(basename "$scenario" .txt)
  case $name in *.*) continue ;; esac
  echo "== $name"
  if PLOVERA_HEAP_CHECK=1 timeout 900 tests/e2e/run_scenario.sh "$root/build/windows" "$scenario" \
    "$out/scenario-$name" >"$out/scenario-$name.log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$name")
  fi
  tail -n 2 "$out/scenario-$name.log"
done
[ ${#failures[@]} -eq 0 ] || echo "failed: ${failures[*]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
