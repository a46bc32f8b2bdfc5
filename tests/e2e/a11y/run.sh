#!/usr/bin/env bash
# The bar's accessible objects, seen from another process: the stand-in Word
# plays tree.txt while a11y_client.exe walks the tree, takes default actions
# and listens to events; then tree-german.txt and tree-arabic.txt, in which
# the client reads the tree in Word's language. One line per check, then
# "N passed, M failed".
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
passed=0 failed=0
for tree in tree tree-german tree-arabic; do
  dir="$out/$tree"
  mkdir -p "$dir"
  "$here/../run_scenario.sh" "$build" "$here/$tree.txt" "$dir" --with "$client" | tee "$dir/run.txt"
  passed=$((passed + $(grep -c '^PASS ' "$dir/run.txt")))
  failed=$((failed + $(grep -c '^FAIL ' "$dir/run.txt")))
  if grep -q "^scenario $tree: passed" "$dir/run.txt"; then
    passed=$((passed + 1))
  else
    echo "FAIL scenario $tree.txt (see $dir/standin.log)"
    failed=$((failed + 1))
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
