#!/usr/bin/env bash
# Runs the forms engine's Wine test: its own Wine prefix and Xvfb display,
# one line per check, then "N passed, M failed"; non-zero exit on failure.
# Usage: run.sh <build-dir> [screenshot.png]
# With a screenshot path, also shows a bar of three tabs and saves the
# screen as PNG there.
set -uo pipefail
build=${1:?usage: run.sh <build-dir> [screenshot.png]}
shot=${2:-}
exe="$build/tests/e2e/forms/forms_test.exe"
if [ ! -f "$exe" ]; then
  echo "FAIL forms_test.exe not built in $build"
  echo "0 passed, 1 failed"
  exit 1
fi

here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=../lib.sh
source "$here/lib.sh"
# The prefix, the display and their clean-up are the shared ones.
E2E_ARCH=$(e2e_pe_arch "$exe") || { echo "0 passed, 1 failed"; exit 1; }
e2e_start || { echo "FAIL Wine prefix and display"; echo "0 passed, 1 failed"; exit 1; }
work=$E2E_WORK

passed=0
failed=0
# Runs the test program with the given arguments and adds its summary line
# to the totals (a run without one counts as one failure).
run_checks() {
  local log="$work/out-$#.txt" summary rc
  timeout 300 wine "$exe" "$@" 2>>"$work/stderr.txt" | tr -d '\r' | tee "$log"
  rc=${PIPESTATUS[0]}
  summary=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$log" | tail -n 1)
  if [ -z "$summary" ]; then
    echo "FAIL forms_test $* ended without a summary (exit $rc)"
    failed=$((failed + 1))
    return
  fi
  passed=$((passed + ${summary%% passed*}))
  failed=$((failed + $(sed -E 's/.*, ([0-9]+) failed/\1/' <<<"$summary")))
  [ "$rc" -eq 0 ] || [ "$failed" -gt 0 ] || failed=1
}

run_checks

if [ -n "$shot" ]; then
  timeout 60 wine "$exe" --show "$work/done" >"$work/show.txt" 2>&1 &
  show_pid=$!
  for _ in $(seq 300); do grep -q READY "$work/show.txt" 2>/dev/null && break; sleep 0.1; done
  sleep 0.3
  if grep -q READY "$work/show.txt" && import -window root "$shot" 2>/dev/null; then
    echo "PASS screenshot saved to $shot"
    passed=$((passed + 1))
  else
    echo "FAIL screenshot"
    failed=$((failed + 1))
  fi
  touch "$work/done"
  wait "$show_pid" 2>/dev/null
fi

# Again at 120 dots per inch, where a pixel is 12 twips.
timeout 60 wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
  /v LogPixels /t REG_DWORD /d 120 /f >/dev/null 2>&1
timeout 60 wineserver -w
run_checks --units

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
