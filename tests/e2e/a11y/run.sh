#!/usr/bin/env bash
# The bar's accessible objects, seen from another process: the stand-in Word
# plays tree.txt while a11y_client.exe walks the tree, takes default actions
# and listens to events. One line per check, then "N passed, M failed".
# Usage: run.sh <mingw-build-dir> [out-dir]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh <mingw-build-dir> [out-dir]}" && pwd)
out=${2:-$build/test-output/a11y}
client="$build/tests/e2e/a11y/a11y_client.exe"
# The two programs meet through files there: none may be left from before.
rm -rf "$out" && mkdir -p "$out"
if [ ! -f "$client" ]; then
  echo "FAIL a11y_client.exe built"
  echo "0 passed, 1 failed"
  exit 1
fi
"$here/../run_scenario.sh" "$build" "$here/tree.txt" "$out" --with "$client" | tee "$out/run.txt"
passed=$(grep -c '^PASS ' "$out/run.txt")
failed=$(grep -c '^FAIL ' "$out/run.txt")
if grep -q '^scenario tree: passed' "$out/run.txt"; then
  passed=$((passed + 1))
else
  echo "FAIL scenario tree.txt (see $out/standin.log)"
  failed=$((failed + 1))
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
