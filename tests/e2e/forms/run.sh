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

work=$(mktemp -d "${TMPDIR:-/tmp}/plovera-forms.XXXXXX")
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display=
for n in $(seq 91 190); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"

cleanup() {
  timeout 20 wineserver -k >/dev/null 2>&1
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
timeout 120 wineboot -i >/dev/null 2>&1
# A fresh prefix does not pick up Wine's own Tahoma; the labels need it.
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
timeout 60 wineserver -w

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
