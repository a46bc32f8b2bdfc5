#!/usr/bin/env bash
# The main job: builds the add-in (64-bit and 32-bit) and the stand-in Word,
# registers the add-in in a fresh Wine prefix and shows it working in the
# stand-in Word on a virtual display. Screenshots go to ./screenshots (or the
# folder given).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
shots=${1:-$root/screenshots}
"$root/scripts/deps.sh"
"$root/scripts/build.sh" windows
# The 32-bit DLL too, for 32-bit Office (scripts/package.sh makes the installers).
"$root/scripts/build.sh" windows32 plovera
mkdir -p "$shots"
status=0
for scenario in "$root"/tests/e2e/scenarios/demo*.txt; do
  timeout 600 "$root/tests/e2e/run_scenario.sh" "$root/build/windows" "$scenario" "$shots" || status=1
done
echo "screenshots in $shots:"
ls -1 "$shots"/*.png 2>/dev/null || true
exit $status
