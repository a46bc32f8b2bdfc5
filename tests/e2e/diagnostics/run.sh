#!/usr/bin/env bash
# The diagnostics under Wine: the log file and the Win32 outputs on their own
# (diagnostics_test.exe: bound, older file, refusals, value types, storms,
# costs), then the add-in in the stand-in Word with the log on (each failure
# once, the start-up line, the debugger output captured through Wine's
# debug channels), off, and locked; and the web-site policy.
# One line per check, then "N passed, M failed"; exits non-zero on any
# failure. The costs go to <out-dir>/costs.txt.
# Usage: run.sh <build-dir> [out-dir]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../lib.sh
source "$here/../lib.sh"
build=$(cd "${1:?usage: run.sh <build-dir> [out-dir]}" && pwd)
out=${2:-$build/diagnostics-e2e}
mkdir -p "$out" && out=$(cd "$out" && pwd)
scenarios="$here/../scenarios"
program="$build/tests/e2e/diagnostics/diagnostics_test.exe"
[ -f "$program" ] || { e2e_fail "built: $program"; e2e_summary; exit 1; }
E2E_ARCH=$(e2e_pe_arch "$program") || { e2e_fail "diagnostics_test.exe is a Windows program"; e2e_summary; exit 1; }

# The program on its own, in a prefix of its own.
(
  e2e_start "" || { echo "FAIL Wine prefix"; exit 1; }
  with_timeout 300 wine "$program" 'C:\diagnostics' 2>"$out/program.err" | tr -d '\r'
) >"$out/program.txt"
e2e_count_output "$out/program.txt"
grep -E '^(PASS|FAIL) ' "$out/program.txt"
grep '^measure ' "$out/program.txt" | tee "$out/costs.txt"
[ -s "$out/costs.txt" ] || e2e_fail "diagnostics_test.exe measured the costs"

scenario() {
  local name=$1
  shift
  rm -rf "${out:?}/$name"
  if "$here/../run_scenario.sh" "$build" "$scenarios/$name.txt" "$out/$name" "$@" >"$out/$name.log" 2>&1; then
    e2e_pass "scenario $name"
  else
    e2e_fail "scenario $name" "$(tail -n 5 "$out/$name.log" | tr '\n' ' ')"
  fi
}

# The debugger output: Wine 8 shows what a program passes to
# OutputDebugString on its seh channel (older Wine: debugstr), as
# warn:seh:OutputDebugStringA "TEXT".
PLOVERA_WINEDEBUG=warn+seh scenario diagnostics-log
debug="$out/diagnostics-log/wine-stderr.log"
e2e_check "the debugger gets the start-up line once" \
  test "$(grep -c 'OutputDebugStringA "Plovera: start Plovera [0-9.]* [0-9]*-bit; Word 12.0' "$debug")" -eq 1
e2e_check "the debugger gets the CommandBars failures with Word's words" \
  grep -q 'Plovera: failure at [a-z_]*\.cpp:[0-9]*: Application.CommandBars 0x80004005 \\"injected failure\\"' "$debug"
e2e_check "the debugger gets the Caption failure once" \
  test "$(grep -c 'OutputDebugStringA "Plovera: failure at [a-z_]*\.cpp:[0-9]*: Window.Caption 0x80004005' "$debug")" -eq 1
PLOVERA_WINEDEBUG=warn+seh scenario diagnostics-off
e2e_check "with the log off the debugger still gets the failures" \
  grep -q 'Plovera: failure at .*Window.Caption 0x80004005' "$out/diagnostics-off/wine-stderr.log"
scenario diagnostics-locked
scenario hide-web-site
e2e_summary
