#!/bin/bash
# Runs one end-to-end scenario: the stand-in Word loads the registered add-in
# in a fresh Wine prefix on a virtual display and plays the scenario file.
#
#   run_scenario.sh <mingw-build-dir> <scenario.txt> <out-dir>
#                   [--version V] [--dpi 96|120] [--theme N] [--size WxH]
#                   [--addin DLL]... [--then SCENARIO]... [--timeout SECS]
#
#   --addin   register this DLL instead of <build>/src/win32/plovera.dll
#             (repeatable)
#   --then    play another scenario afterwards in the same prefix, as a
#             second start of Word (command bars persist between them)
#
# A scenario may name the options it needs on lines "#!harness OPTIONS" (for
# example "#!harness --version 11.0"); options given here come after them.
#
# The out-dir receives standin.log (one per scenario, suffixed from the
# second on) and the screenshots as PNG. Prints "scenario NAME: passed" or
# "scenario NAME: failed" and exits with the scenario's result.
set -u

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

usage() {
  sed -n '2,21p' "$0" >&2
  exit 2
}

[ $# -ge 3 ] || usage
build=$(cd "$1" && pwd) || usage
scenarios=("$(cd "$(dirname "$2")" && pwd)/$(basename "$2")")
mkdir -p "$3" && out=$(cd "$3" && pwd) || usage
shift 3
# Options from the scenario's own "#!harness" lines go first.
read -r -a header <<<"$(sed -n 's/^#!harness //p' "${scenarios[0]}" | tr '\n' ' ')"
if [ ${#header[@]} -gt 0 ]; then
  set -- "${header[@]}" "$@"
fi
scenario_dir=$(dirname "${scenarios[0]}")
version=12.0 dpi= theme= size= timeout_secs=120
addins=()
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || usage
  case $1 in
    --version) version=$2 ;;
    --dpi) dpi=$2 ;;
    --theme) theme=$2 ;;
    --size) size=$2 ;;
    --addin) addins+=("$(cd "$(dirname "$2")" && pwd)/$(basename "$2")") ;;
    --then)
      # A relative name is looked up beside the first scenario.
      case $2 in
        /*) scenarios+=("$2") ;;
        *) scenarios+=("$scenario_dir/$2") ;;
      esac
      ;;
    --timeout) timeout_secs=$2 ;;
    *) usage ;;
  esac
  shift 2
done
[ ${#addins[@]} -gt 0 ] || addins=("$build/src/win32/plovera.dll")
standin="$build/standin/standin.exe"
name=$(basename "${scenarios[0]}" .txt)

finish() {
  echo "scenario $name: $1"
  [ "$1" = passed ]
}

for f in "$standin" "${addins[@]}" "${scenarios[@]}"; do
  [ -f "$f" ] || { echo "missing $f" >&2; finish failed; exit 1; }
done

# Sets up the prefix: fonts, resolution, theme, the URL recorder, the add-ins.
prepare_prefix() {
  e2e_start "$dpi" || { echo "could not start Wine and Xvfb" >&2; return 1; }
  # No window manager runs on the virtual display: with Wine managing the
  # windows itself, hiding or destroying a top-level window (a dialog, Word's
  # main window) no longer waits 2 s for a window manager that never answers.
  with_timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    >/dev/null 2>&1 || return 1
  # A crash (of the add-in, inside Word) ends the run at once instead of
  # waiting for someone to close Wine's crash dialog.
  with_timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1 || return 1
  if [ -n "$theme" ]; then
    with_timeout 60 wine reg add "HKCU\\Software\\Microsoft\\Office\\$version\\Common" \
      /v Theme /t REG_DWORD /d "$theme" /f >/dev/null 2>&1 || return 1
  fi
  # Opening a web address records it instead of starting a browser.
  local recorder
  recorder=$(winepath -w "$standin")
  with_timeout 60 wine reg add 'HKCR\https\shell\open\command' /ve \
    /d "\"$recorder\" --record-url \"%1\"" /f >/dev/null 2>&1 || return 1
  local dll
  for dll in "${addins[@]}"; do
    if ! with_timeout 60 wine regsvr32 /s "$(winepath -w "$dll")" >"$E2E_WORK/regsvr32.log" 2>&1; then
      echo "regsvr32 $(basename "$dll") failed" >&2
      return 1
    fi
  done
  with_timeout 60 wineserver -w
}

# Plays scenario $1; its log goes to $2.
play() {
  local geometry=()
  [ -n "$size" ] && geometry=(--size "$size")
  local rc=0 first=
  # The stand-in writes standin.log: the first scenario's is kept aside
  # while a later one writes its own.
  if [ "$2" != "$out/standin.log" ] && [ -f "$out/standin.log" ]; then
    first="$E2E_WORK/first-standin.log"
    mv "$out/standin.log" "$first"
  fi
  with_timeout "$timeout_secs" wine "$standin" --version "$version" "${geometry[@]}" \
    --scenario "$(winepath -w "$1")" --out "$(winepath -w "$out")" 2>>"$out/wine-stderr.log" || rc=$?
  [ -n "$first" ] && [ -f "$out/standin.log" ] && mv "$out/standin.log" "$2"
  [ -n "$first" ] && mv "$first" "$out/standin.log"
  if [ "$rc" -ne 0 ]; then
    [ "$rc" -eq 124 ] && echo "$(basename "$1"): timed out after ${timeout_secs}s" >&2
    echo "--- last lines of $(basename "$2")" >&2
    [ -f "$2" ] && tail -n 25 "$2" >&2
  fi
  return "$rc"
}

prepare_prefix || { finish failed; exit 1; }
result=passed
for i in "${!scenarios[@]}"; do
  log="$out/standin.log"
  [ "$i" -gt 0 ] && log="$out/standin-$((i + 1)).log"
  play "${scenarios[$i]}" "$log" || { result=failed; break; }
  with_timeout 60 wineserver -w
done
for bmp in "$out"/*.bmp; do
  [ -f "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
finish "$result"
