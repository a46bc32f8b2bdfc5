#!/usr/bin/env bash
# Runs the stand-in Word's own tests under Wine: a fresh prefix and virtual
# display, one PASS/FAIL line per check, then "N passed, M failed"; exits
# non-zero when any check failed.
# Usage: run.sh <mingw-build-dir>
set -uo pipefail
build=$(cd "${1:?usage: run.sh <mingw-build-dir>}" && pwd)
exe="$build/tests/e2e/standin/standin_test.exe"
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=../lib.sh
source "$here/lib.sh"

if [ ! -f "$exe" ]; then
  e2e_fail "standin_test.exe built" "not found in $build"
  e2e_summary
  exit 1
fi
e2e_start || { e2e_fail "Wine prefix and display"; e2e_summary; exit 1; }
# Without a window manager, Wine would wait for one at every top-level hide.
with_timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
with_timeout 60 wineserver -w
output="$E2E_WORK/standin_test.txt"
with_timeout 120 wine "$exe" 2>>"$E2E_WORK/stderr.txt" | tr -d '\r' | tee "$output"
rc=${PIPESTATUS[0]}
grep -qE '^[0-9]+ passed, [0-9]+ failed$' "$output" || e2e_fail "standin_test ran to its end" "exit $rc"
e2e_count_output "$output"
e2e_summary
