#!/usr/bin/env bash
# The test command: installs what is missing, builds everything, runs the
# native unit tests (sanitizers on), a short benchmark run, the Windows
# programs' tests under Wine and every end-to-end scenario in the stand-in
# Word, a few of them again with Wine's heap checks; then the 32-bit build (COM server suite and the connect, demo and
# close scenarios under 32-bit Wine), the signed release packages and the
# installer tests. Ends with one line "N passed, M failed"; exits non-zero
# on failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out=${PLOVERA_TEST_OUT:-$root/build/test-output}
mkdir -p "$out"
passed=0
failed=0
failures=()

# Adds the counts of a runner's closing line ("N passed, M failed", or
# ctest's "... F tests failed out of T"), or counts the whole step as one
# when it prints neither.
tally() {
  local name=$1 rc=$2 log=$3 line p f
  line=$(grep -E '[0-9]+ passed, [0-9]+ failed' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    p=$(grep -oE '[0-9]+ passed' <<<"$line" | grep -oE '[0-9]+')
    f=$(grep -oE '[0-9]+ failed' <<<"$line" | grep -oE '[0-9]+')
  elif line=$(grep -E 'tests failed out of [0-9]+' "$log" | tail -n 1) && [ -n "$line" ]; then
    f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    p=$(( $(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line") - f ))
  elif [ "$rc" -eq 0 ]; then
    p=1 f=0
  else
    p=0 f=1
  fi
  [ "$rc" -ne 0 ] && [ "$f" -eq 0 ] && f=1
  passed=$((passed + p)); failed=$((failed + f))
  [ "$rc" -eq 0 ] || failures+=("$name")
}

step() {
  local name=$1; shift
  local log="$out/$name.log"
  echo "== $name"
  "$@" >"$log" 2>&1
  local rc=$?
  # A failed step shows why first: its FAIL lines and the checks that did
  # not hold, which the last lines alone often leave out.
  [ "$rc" -ne 0 ] && grep -aE "^FAIL |' failed: |timed out after" "$log" | head -n 12
  tail -n 5 "$log"
  tally "$name" "$rc" "$log"
}

scripts/deps.sh || { echo "0 passed, 1 failed"; exit 1; }

step build-native scripts/build.sh native
step unit-tests bash -c 'cd build/native && ctest --output-on-failure -j2'
step build-bench scripts/build.sh bench
step benchmarks build/bench/tests/bench/benchmarks --benchmark_min_time=0.02
step build-windows scripts/build.sh windows
# The 32-bit build: what the 32-bit suites below run.
step build-windows32 scripts/build.sh windows32 plovera standin com_client host_test version_check

for suite in tests/e2e/*/run.sh; do
  [ -x "$suite" ] || continue
  step "e2e-$(basename "$(dirname "$suite")")" timeout 600 "$suite" "$root/build/windows"
done
# Every scenario runs on its own; one whose name has a further dot
# ("restart.then.txt") is the second part of another and runs with it.
for scenario in tests/e2e/scenarios/*.txt; do
  name=$(basename "$scenario" .txt)
  case $name in demo | *.*) continue ;; esac
  step "scenario-$name" timeout 600 tests/e2e/run_scenario.sh "$root/build/windows" "$scenario" \
    "$out/scenario-$name"
done

# Wine's heap checks (scripts/heap-check.sh runs every scenario so) on the
# scenarios most likely to touch freed memory: Word letting go of the add-in
# inside its own loops, a bar destroyed and built again, drags whose tab
# leaves mid-drag, and bars in frames that come and go.
for name in release-in-loops bar-destroyed drag-window-closed drag-window-closed-sdi sdi-bars; do
  step "heap-$name" env PLOVERA_HEAP_CHECK=1 timeout 600 tests/e2e/run_scenario.sh \
    "$root/build/windows" "tests/e2e/scenarios/$name.txt" "$out/heap-$name"
done

# 32-bit Word loads only a 32-bit add-in: the COM server and the main
# scenarios again with the i686 build, in 32-bit prefixes.
step wine32 bash -c '[ -x /usr/lib/wine/wine ] || {
  echo "32-bit Wine (wine32:i386) is not installed and could not be installed here:" \
    "the 32-bit add-in cannot be tested"; exit 1; }'
step e2e-com-32bit timeout 600 tests/e2e/com/run.sh "$root/build/windows32"
for name in connect demo close; do
  step "scenario32-$name" timeout 600 tests/e2e/run_scenario.sh "$root/build/windows32" \
    "tests/e2e/scenarios/$name.txt" "$out/scenario32-$name"
done

# The release files, signed with a throwaway certificate, then installed,
# upgraded and removed under Wine.
step signing tests/install/signing.sh "$out/dist"
step installers timeout 1200 tests/install/run.sh "$out/dist" "$root/build/windows" "$root/build/windows32"

[ ${#failures[@]} -eq 0 ] || echo "failed steps: ${failures[*]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
