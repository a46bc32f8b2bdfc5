#!/bin/bash
# Runs one end-to-end scenario: the stand-in Word loads the registered add-in
# in a fresh Wine prefix on a virtual display and plays the scenario file.
# A 32-bit build (i686) runs in a 32-bit prefix, a 64-bit one in a 64-bit one.
#
#   run_scenario.sh <mingw-build-dir> <scenario.txt> <out-dir>
#                   [--version V] [--sdi on|off] [--dpi 96|120] [--theme N]
#                   [--size WxH] [--addin DLL]... [--then SCENARIO]...
#                   [--timeout SECS] [--with PROGRAM]
#
#   --sdi     a frame per document window, or all in one main window
#             (default: a frame per window from version 15 on)
#   --addin   register this DLL instead of <build>/src/win32/plovera.dll
#             (repeatable)
#   --then    play another scenario afterwards in the same prefix, as a
#             second start of Word (command bars persist between them)
#   --with    run this Windows program beside the first scenario, with the
#             out-dir as its argument (the two meet through files there);
#             its output goes to out-dir/beside.log and its failure fails
#             the run
#
# A scenario may name the options it needs on lines "#!harness OPTIONS" (for
# example "#!harness --version 11.0"); options given here come after them.
#
# With PLOVERA_HEAP_CHECK=1 in the environment, Wine checks the stand-in's
# heap on every allocation and free (GlobalFlag 0xF0, WINEDEBUG warn+heap);
# the run prints "heap errors: N" and fails when N is not 0.
# PLOVERA_WINEDEBUG sets Wine's debug channels for the stand-in (for
# example +debugstr, which writes the add-in's debugger output to
# out-dir/wine-stderr.log).
#
# The out-dir receives standin.log (one per scenario, suffixed from the
# second on) and the screenshots as PNG. Prints "scenario NAME: passed" or
# "scenario NAME: failed" and exits with the scenario's result.
set -u

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

usage() {
  sed -n '2,30p' "$0" >&2
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
version=12.0 sdi= dpi= theme= size= timeout_secs=120 beside=
addins=()
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || usage
  case $1 in
    --version) version=$2 ;;
    --sdi) sdi=$2 ;;
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
    --with) beside=$(cd "$(dirname "$2")" && pwd)/$(basename "$2") ;;
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

for f in "$standin" "${addins[@]}" "${scenarios[@]}" ${beside:+"$beside"}; do
  [ -f "$f" ] || { echo "missing $f" >&2; finish failed; exit 1; }
done

# Sets up the prefix: fonts, resolution, theme, the URL recorder, the add-ins.
# The prefix has the stand-in's bitness: a 32-bit build runs in a 32-bit
# prefix under 32-bit Wine, as 32-bit Word on 32-bit Windows.
prepare_prefix() {
  E2E_ARCH=$(e2e_pe_arch "$standin") || return 1
  local dll
  for dll in "${addins[@]}"; do
    if [ "$(e2e_pe_arch "$dll")" != "$E2E_ARCH" ]; then
      echo "$(basename "$dll") is not of the stand-in's bitness ($E2E_ARCH)" >&2
      return 1
    fi
  done
  e2e_start "$dpi" || { echo "could not start Wine and Xvfb" >&2; return 1; }
  e2e_prepare_word "$standin" || return 1
  if [ -n "$theme" ]; then
    with_timeout 60 wine reg add "HKCU\\Software\\Microsoft\\Office\\$version\\Common" \
      /v Theme /t REG_DWORD /d "$theme" /f >/dev/null 2>&1 || return 1
  fi
  if [ "${PLOVERA_HEAP_CHECK:-0}" = 1 ]; then
    # The 64-bit view: with wine32 installed, `wine reg` is the 32-bit reg.exe.
    with_timeout 60 wine reg add \
      'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Image File Execution Options\standin.exe' \
      /v GlobalFlag /t REG_DWORD /d 0xF0 /f /reg:64 >/dev/null 2>&1 || return 1
  fi
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
  local options=()
  [ -n "$size" ] && options+=(--size "$size")
  [ -n "$sdi" ] && options+=(--sdi "$sdi")
  local rc=0 first= debug=$WINEDEBUG
  [ -n "${PLOVERA_WINEDEBUG:-}" ] && debug=$PLOVERA_WINEDEBUG
  [ "${PLOVERA_HEAP_CHECK:-0}" = 1 ] && debug=err+heap,warn+heap
  # The stand-in writes standin.log: the first scenario's is kept aside
  # while a later one writes its own.
  if [ "$2" != "$out/standin.log" ] && [ -f "$out/standin.log" ]; then
    first="$E2E_WORK/first-standin.log"
    mv "$out/standin.log" "$first"
  fi
  WINEDEBUG=$debug with_timeout "$timeout_secs" wine "$standin" --version "$version" \
    "${options[@]}" --scenario "$(winepath -w "$1")" --out "$(winepath -w "$out")" \
    2>>"$out/wine-stderr.log" || rc=$?
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
beside_pid=
if [ -n "$beside" ]; then
  rm -f "$out/beside.log"
  with_timeout "$timeout_secs" wine "$beside" "$(winepath -w "$out")" >"$out/beside.log" 2>&1 &
  beside_pid=$!
fi
for i in "${!scenarios[@]}"; do
  log="$out/standin.log"
  [ "$i" -gt 0 ] && log="$out/standin-$((i + 1)).log"
  play "${scenarios[$i]}" "$log" || { result=failed; break; }
  if [ -n "$beside_pid" ]; then
    wait "$beside_pid" || result=failed
    beside_pid=
  fi
  with_timeout 60 wineserver -w
done
if [ -n "$beside_pid" ]; then
  kill "$beside_pid" 2>/dev/null
  wait "$beside_pid" 2>/dev/null
fi
[ -n "$beside" ] && [ -f "$out/beside.log" ] && tr -d '\r' <"$out/beside.log" | grep -E '^(PASS|FAIL) '

for bmp in "$out"/*.bmp; do
  [ -f "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
if [ "${PLOVERA_HEAP_CHECK:-0}" = 1 ]; then
  heap_errors=$(grep -c ':heap:' "$out/wine-stderr.log" 2>/dev/null)
  echo "heap errors: ${heap_errors:-0}"
  [ "${heap_errors:-0}" -eq 0 ] || result=failed
fi
finish "$result"
