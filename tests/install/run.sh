#!/usr/bin/env bash
# The four MSI installers under Wine, used as an administrator and a user
# would: silent install, Word (the stand-in) loading the installed add-in, a
# major upgrade, a refused downgrade, per-user and per-machine side by side,
# a damaged installation, folders with blanks and non-ASCII letters, and
# uninstall. Every registry key and value and every file of the prefix is
# listed before and after: uninstalling must leave exactly what was there,
# another add-in's keys and files and Word's own settings included.
# The values the packages write are compared with what the DLL's own
# registration (regsvr32) writes in the same prefix.
#
#   run.sh <dist-dir> <x64-build-dir> <x86-build-dir>
#
# dist-dir holds the packages and DLLs from scripts/package.sh; the build
# folders give the stand-in Word of each bitness and the version. One prefix
# is 64-bit (the x64 packages, and the x86 ones under WOW64, as 32-bit Office
# on 64-bit Windows), one is 32-bit (the x86 packages on 32-bit Windows, with
# Program Files at "C:\Programme für Tëst" and a user named "José García").
# One line per check, then "N passed, M failed"; non-zero exit on failure.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../e2e/lib.sh
source "$here/../e2e/lib.sh"

if [ "${1:-}" != --prefix ]; then
  # The two prefixes run one after the other, each in a process of its own
  # (lib.sh keeps one prefix per process); their checks are counted here.
  [ $# -eq 3 ] || { sed -n '2,19p' "$0" >&2; exit 2; }
  for arch in win64 win32; do
    "$0" --prefix "$arch" "$@" | tee "${TMPDIR:-/tmp}/plovera-install-$$.txt"
    e2e_count_output "${TMPDIR:-/tmp}/plovera-install-$$.txt"
    grep -qE '^[0-9]+ passed, [0-9]+ failed$' "${TMPDIR:-/tmp}/plovera-install-$$.txt" ||
      e2e_fail "$arch prefix ran to its end"
    rm -f "${TMPDIR:-/tmp}/plovera-install-$$.txt"
  done
  e2e_summary
  exit
fi

E2E_ARCH=$2
shift 2
dist=$(cd "$1" && pwd) || exit 2
build64=$(cd "$2" && pwd) || exit 2
build32=$(cd "$3" && pwd) || exit 2
PLOVERA_VERSION=
# shellcheck disable=SC1091
source "$build64/plovera.env" || exit 2
version=$PLOVERA_VERSION
[[ $version =~ ^([0-9]+)\.([0-9]+)\.([0-9]+)$ ]] || { echo "bad version '$version'" >&2; exit 2; }
next_version="${BASH_REMATCH[1]}.${BASH_REMATCH[2]}.$((BASH_REMATCH[3] + 1))"

clsid='{2EE200CA-E848-43CF-89ED-D2F5A0C7B07D}'
# Non-ASCII names reach msiexec's command line and Wine's files in UTF-8.
export LC_ALL=C.UTF-8

# --- the bitness under test in this prefix --------------------------------------

# Sets T_*: the packages, DLL and stand-in of bitness $1 (x64|x86), and where
# Windows puts its files and per-machine keys in this prefix.
target() {
  T_ARCH=$1
  local build=$build64
  [ "$T_ARCH" = x86 ] && build=$build32
  T_BUILD=$build
  T_DLL="$dist/plovera-$version-$T_ARCH.dll"
  T_USER_MSI="$dist/plovera-$version-$T_ARCH-peruser.msi"
  T_MACHINE_MSI="$dist/plovera-$version-$T_ARCH-permachine.msi"
  T_STANDIN="$build/standin/standin.exe"
  # A 32-bit program on 64-bit Windows has a Program Files of its own.
  T_MACHINE_FOLDER="$PROGRAM_FILES\\Plovera"
  [ "$T_ARCH" = x86 ] && [ "$E2E_ARCH" = win64 ] && T_MACHINE_FOLDER="$PROGRAM_FILES_X86\\Plovera"
  T_USER_FOLDER="$LOCAL_APPDATA\\Programs\\Plovera\\$T_ARCH"
  T="$T_ARCH on $E2E_ARCH:"
  for f in "$T_DLL" "$T_USER_MSI" "$T_MACHINE_MSI" "$T_STANDIN"; do
    [ -f "$f" ] || { e2e_fail "$T $(basename "$f") present"; return 1; }
  done
}

# --- the prefix's contents --------------------------------------------------------

# Every key ("ROOT\path|") and value ("ROOT\path|name=data") of the prefix's
# registry, read from the files Wine keeps it in (saved when the prefix's
# wineserver exits). Data stays as Wine writes it: "\\" for a backslash.
list_registry() {
  with_timeout 60 wineserver -w
  local file root
  for file in system:HKLM user:HKCU; do
    root=${file#*:}
    awk -v root="$root" '
      /^\[/ { key = $0; sub(/^\[/, "", key); sub(/\]( [0-9]+)?$/, "", key)
              gsub(/\\\\/, "\\", key); key = root "\\" key; print key "|"; next }
      /^#/ || /^$/ || key == "" { next }
      { line = $0
        while (line ~ /\\$/ && (getline more) > 0) {
          sub(/\\$/, "", line); sub(/^ +/, "", more); line = line more
        }
        print key "|" line }' "$WINEPREFIX/${file%%:*}.reg"
  done | LC_ALL=C sort
}

# Every file and folder of drive C with its size, but for Wine's own Windows
# folder, the temporary folders, and the stand-in Word's saved command bars
# (Word's own state, written by each run of Word).
list_files() {
  (cd "$WINEPREFIX/drive_c" && find . -mindepth 1 \
    ! -path './windows' ! -path './windows/*' ! -ipath '*/temp' ! -ipath '*/temp/*' \
    ! -path './users/*/AppData/Roaming/StandinWord*' \
    -printf '%p|%s\n' | LC_ALL=C sort)
}

snapshot() {
  list_registry >"$E2E_WORK/$1.reg"
  list_files >"$E2E_WORK/$1.files"
}

# Registry entries that change with no installer at work: Wine's records of
# the session, and the date its display driver stamps at every start. And:
# a program of a bitness Wine has not run yet in the prefix writes that
# view's list of shell folders.
steady() {
  grep -vE '^HKCU\\Volatile Environment|^HKLM\\System\\CurrentControlSet\\Control\\Class\\[^|]*\|"DriverDateData"=|^HKCU\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Explorer\\(User )?Shell Folders(\||\\)'
}

# Windows Installer keeps the folders of its own records once it has made
# them: empty keys below its Installer keys. No value may stay there.
installer_folders() {
  grep -E '^(HKLM\\Software\\Classes\\Installer|HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Installer|HKCU\\Software\\Microsoft\\Installer)\\[^|]*\|$' "$1"
}

# What differs between two snapshots, one "<" (gone) or ">" (new) line each.
differences() {
  local before=$E2E_WORK/$1 after=$E2E_WORK/$2
  diff <(steady <"$before.reg") <(steady <"$after.reg") | grep -E '^[<>]' |
    grep -vxFf <(installer_folders "$after.reg" | sed 's/^/> /')
  # Likewise its folder of per-user product icons (the icon itself goes).
  diff "$before.files" "$after.files" | grep -E '^[<>]' |
    grep -vE '^> \./users/[^/]*/AppData/Roaming/Microsoft/Installer\|[0-9]+$'
}

expect_same() {
  local name=$1 changes
  changes=$(differences "$2" "$3")
  if [ -z "$changes" ]; then
    e2e_pass "$T $name"
  else
    e2e_fail "$T $name" "$(head -n 10 <<<"$changes" | tr '\n' ' ')"
  fi
}

# Plovera's class, ProgID and add-in keys and values in snapshot $1, but
# Windows Installer's own records of them.
#
# A 32-bit registration on 64-bit Windows: Wine's msiexec writes every key
# of a 32-bit component below Wow6432Node, while a 32-bit regsvr32 puts the
# ProgID in the Classes key both views share (as Windows does); the
# comparison leaves Wow6432Node out, and the stand-in loading the add-in
# shows that the class resolves.
plovera_entries() {
  grep -E "\\\\CLSID\\\\$clsid(\\\\|\\|)|\\\\quennix\\.Connect(\\\\|\\|)" "$E2E_WORK/$1.reg" |
    grep -vE '^[^|]*\\Installer\\' | sed 's/\\Wow6432Node\\/\\/' | LC_ALL=C sort
}

expect_entries() {
  local name=$1 got wanted
  got=$(plovera_entries "$2")
  wanted=$3
  if [ "$got" = "$wanted" ] && [ -n "$got" ]; then
    e2e_pass "$T $name"
  else
    e2e_fail "$T $name" "$(diff <(echo "$wanted") <(echo "$got") | grep -E '^[<>]' | head -n 8 | tr '\n' ' ')"
  fi
}

# --- acting as the administrator, the user and Word -----------------------------

# msiexec /i|/x PACKAGE /qn [PROPERTY=VALUE...]; its log goes to logs/.
msiexec_run() {
  local action=$1 msi=$2 rc
  shift 2
  local log="$E2E_WORK/logs/$(basename "$msi" .msi)-${action#/}-$((++msi_runs)).log"
  with_timeout 300 wine msiexec "$action" "$(winepath -w "$msi")" /qn /l*v "$(winepath -w "$log")" "$@" \
    >/dev/null 2>&1
}
msi_runs=0

expect_msiexec() {
  local name=$1
  shift
  if msiexec_run "$@"; then e2e_pass "$T $name"; else e2e_fail "$T $name" "msiexec exit $?"; fi
}

# Plays a stand-in Word scenario with the add-ins registered in the prefix.
play() {
  local scenario=$1 name=$2 rc
  local out="$E2E_WORK/scenario-$name"
  mkdir -p "$out"
  with_timeout 120 wine "$T_STANDIN" --version 12.0 --scenario "$(winepath -w "$scenario")" \
    --out "$(winepath -w "$out")" >/dev/null 2>>"$out/wine-stderr.log"
  rc=$?
  cp "$out/standin.log" "$E2E_WORK/logs/standin-$name.log" 2>/dev/null
  return "$rc"
}

expect_bar() {
  local name=$1
  if play "$here/../e2e/scenarios/connect.txt" "${T_ARCH}-$((++plays))"; then
    e2e_pass "$T $name"
  else
    e2e_fail "$T $name" "$(tail -n 3 "$E2E_WORK/logs/standin-${T_ARCH}-$plays.log" 2>/dev/null | tr '\n' ' ')"
  fi
}
plays=0

# Keys and files of another add-in (per user and per machine, in both views
# of a 64-bit prefix), and Word's own settings: the packages must leave them
# as they are.
seed_others() {
  local other='{0F3A1C52-3E3B-4C59-9C41-7C0A5E2B9D11}' root view reg="$E2E_WORK/others.reg"
  {
    echo REGEDIT4
    for root in HKEY_CURRENT_USER HKEY_LOCAL_MACHINE; do
      # LoadBehavior 2: not loaded at start-up, so the stand-in leaves it alone.
      printf '[%s]\n"FriendlyName"="Another add-in"\n"LoadBehavior"=dword:00000002\n' \
        "$root\\Software\\Microsoft\\Office\\Word\\Addins\\Other.Connect"
      printf '[%s]\n@="C:\\\\Other\\\\other.dll"\n' "$root\\Software\\Classes\\CLSID\\$other\\InprocServer32"
      printf '[%s]\n@="%s"\n' "$root\\Software\\Classes\\Other.Connect\\CLSID" "$other"
    done
    printf '[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\12.0\\Word\\Options]\n"AutoSaveInterval"=dword:00000007\n'
  } >"$reg"
  # The same in each view of the registry a program of either bitness sees.
  for view in /reg:64 /reg:32; do
    [ "$E2E_ARCH" = win32 ] && [ "$view" = /reg:64 ] && continue
    with_timeout 60 wine reg import "$(winepath -w "$reg")" "$view" >/dev/null 2>&1
  done
  mkdir -p "$WINEPREFIX/drive_c/Other" && echo other >"$WINEPREFIX/drive_c/Other/other.dll"
  mkdir -p "$(winepath -u "$PROGRAM_FILES")/Other" && echo other >"$(winepath -u "$PROGRAM_FILES")/Other/other.dll"
  if [ "${1:-}" = with-user-programs ]; then
    mkdir -p "$(winepath -u "$LOCAL_APPDATA")/Programs/Other"
    echo other >"$(winepath -u "$LOCAL_APPDATA")/Programs/Other/other.dll"
  fi
}

quiet_reg() { with_timeout 60 wine reg "$@" /f >/dev/null 2>&1; }

# A folder for a while: made with its missing parents, removed with them.
make_folder() {
  local unix top
  unix=$(winepath -u "$1")
  top=$unix
  while [ ! -e "$(dirname "$top")" ]; do top=$(dirname "$top"); done
  [ -e "$top" ] && top=
  mkdir -p "$unix"
  MADE_FOLDER=$top
}

# What the DLL's own registration writes for this bitness, per machine and
# per user, from the folders the packages install to: the values (DLL path
# included) the packages must write.
reference_entries() {
  local dll="$T_MACHINE_FOLDER\\plovera.dll"
  make_folder "$T_MACHINE_FOLDER"
  cp "$T_DLL" "$(winepath -u "$dll")"
  with_timeout 60 wine regsvr32 /s "$dll" >/dev/null 2>&1
  snapshot "reference-machine-$T_ARCH"
  with_timeout 60 wine regsvr32 /s /u "$dll" >/dev/null 2>&1
  rm -rf "$(winepath -u "$T_MACHINE_FOLDER")" ${MADE_FOLDER:+"$MADE_FOLDER"}
  dll="$T_USER_FOLDER\\plovera.dll"
  make_folder "$T_USER_FOLDER"
  cp "$T_DLL" "$(winepath -u "$dll")"
  with_timeout 60 wine regsvr32 /s /n /i:user "$dll" >/dev/null 2>&1
  snapshot "reference-user-$T_ARCH"
  with_timeout 60 wine regsvr32 /s /u /n /i:user "$dll" >/dev/null 2>&1
  rm -rf "$(winepath -u "$T_USER_FOLDER")" ${MADE_FOLDER:+"$MADE_FOLDER"}
  # Per machine, DllRegisterServer also writes the add-in key for the
  # registering user; the per-machine package writes HKLM only.
  R_MACHINE=$(plovera_entries "reference-machine-$T_ARCH" | grep -v '^HKCU')
  R_USER=$(plovera_entries "reference-user-$T_ARCH")
  if [ -n "$R_MACHINE" ] && [ -n "$R_USER" ] && ! grep -q '^HKLM' <<<"$R_USER"; then
    e2e_pass "$T regsvr32 wrote the reference values"
  else
    e2e_fail "$T regsvr32 wrote the reference values"
  fi
}

# The per-machine package's class and add-in key are DllRegisterServer's for
# the same file (its path included), and it wrote nothing under HKCU.
check_machine_install() {
  expect_entries "per-machine keys = DllRegisterServer's for $T_MACHINE_FOLDER, under HKLM only" \
    "$1" "$R_MACHINE"
  e2e_check "$T $T_MACHINE_FOLDER\\plovera.dll is the released DLL" \
    cmp "$T_DLL" "$(winepath -u "$T_MACHINE_FOLDER\\plovera.dll")"
}

check_user_install() {
  expect_entries "per-user keys = DllInstall(user)'s for $T_USER_FOLDER, under HKCU only" \
    "$1" "$R_USER"
  e2e_check "$T $T_USER_FOLDER\\plovera.dll is the released DLL" \
    cmp "$T_DLL" "$(winepath -u "$T_USER_FOLDER\\plovera.dll")"
}

# Windows' list of installed programs: how many Plovera entries of this
# bitness and scope, and their versions.
registered_versions() {
  local snap=$1 title=$2
  awk -F'|' -v title="DisplayName\"=\"Plovera ($title)\"" '
    $1 ~ /\\Uninstall\\/ && $2 == "\"" title { keys[$1] = 1 }
    $2 ~ /^"DisplayVersion"=/ { version[$1] = $2 }
    END { for (k in keys) { v = version[k]; sub(/^"DisplayVersion"="/, "", v); sub(/"$/, "", v); print v } }' \
    "$E2E_WORK/$snap.reg" | sort
}

# --- the checks ---------------------------------------------------------------

# The whole life of the packages of one bitness: install, load, upgrade,
# refused downgrade, both scopes together, damage, uninstall.
full_cycle() {
  local bits title upgrade
  if [ "$T_ARCH" = x64 ]; then bits=64-bit; else bits=32-bit; fi
  title="$bits, for all users"
  snapshot "clean-$T_ARCH"
  expect_others "clean-$T_ARCH"

  expect_msiexec "per-machine package installs silently" /i "$T_MACHINE_MSI"
  snapshot "machine-$T_ARCH"
  check_machine_install "machine-$T_ARCH"
  expect_bar "Word loads the installed add-in and shows the bar"

  upgrade="$E2E_WORK/plovera-$next_version-$T_ARCH-permachine.msi"
  if "$here/../../installer/make-msi.sh" --build "$T_BUILD" --dll "$T_DLL" --scope perMachine \
    --version "$next_version" --out "$upgrade" >"$E2E_WORK/logs/make-msi.log" 2>&1; then
    expect_msiexec "version $next_version installs over $version" /i "$upgrade"
    snapshot "upgraded-$T_ARCH"
    local versions
    versions=$(registered_versions "upgraded-$T_ARCH" "$title")
    if [ "$versions" = "$next_version" ]; then
      e2e_pass "$T after the upgrade one registration is left: $next_version"
    else
      e2e_fail "$T after the upgrade one registration is left: $next_version" "got: $(tr '\n' ' ' <<<"$versions")"
    fi
    expect_entries "the upgrade keeps the same keys" "upgraded-$T_ARCH" "$R_MACHINE"
    expect_bar "Word loads the upgraded add-in"

    if msiexec_run /i "$T_MACHINE_MSI"; then
      e2e_fail "$T version $version refuses to replace $next_version"
    else
      e2e_pass "$T version $version refuses to replace $next_version"
    fi
    snapshot "downgrade-refused-$T_ARCH"
    expect_same "the refused downgrade changes nothing" "upgraded-$T_ARCH" "downgrade-refused-$T_ARCH"
  else
    e2e_fail "$T upgrade package built" "$(tail -n 3 "$E2E_WORK/logs/make-msi.log" | tr '\n' ' ')"
    upgrade=$T_MACHINE_MSI
  fi

  # Per user on top of per machine: both registered, side by side.
  expect_msiexec "per-user package installs over the per-machine one" /i "$T_USER_MSI"
  snapshot "both-$T_ARCH"
  expect_entries "per-user keys (HKCU) = DllInstall(user)'s, per-machine keys kept" "both-$T_ARCH" \
    "$(LC_ALL=C sort <<<"$R_MACHINE"$'\n'"$R_USER")"
  expect_bar "Word still loads the add-in with both installed"
  expect_msiexec "per-user package uninstalls" /x "$T_USER_MSI"
  snapshot "machine-again-$T_ARCH"
  expect_same "uninstalling per-user leaves the per-machine installation as it was" \
    "upgraded-$T_ARCH" "machine-again-$T_ARCH"
  expect_bar "Word loads the per-machine add-in after the per-user one is gone"

  # A damaged installation: Word reports the add-in did not load and goes on.
  local installed
  installed=$(winepath -u "$T_MACHINE_FOLDER\\plovera.dll")
  head -c 4096 "$T_DLL" >"$installed"
  expect_word_survives "truncated plovera.dll"
  rm -f "$installed"
  expect_word_survives "missing plovera.dll"
  expect_msiexec "a damaged installation uninstalls" /x "$upgrade"
  snapshot "removed-$T_ARCH"
  expect_same "uninstall leaves nothing of Plovera and touches nothing else" \
    "clean-$T_ARCH" "removed-$T_ARCH"

  # Per machine on top of per user, then per machine removed first.
  expect_msiexec "per-user package installs alone" /i "$T_USER_MSI"
  snapshot "user-$T_ARCH"
  check_user_install "user-$T_ARCH"
  # Wine does not merge the per-user classes into HKEY_CLASSES_ROOT as
  # Windows does; the stand-in resolves them as Windows would (standin/README.md).
  expect_bar "Word loads the add-in installed per user alone"
  expect_msiexec "per-machine package installs over the per-user one" /i "$T_MACHINE_MSI"
  expect_msiexec "per-machine package uninstalls" /x "$T_MACHINE_MSI"
  snapshot "user-again-$T_ARCH"
  expect_same "uninstalling per-machine leaves the per-user installation as it was" \
    "user-$T_ARCH" "user-again-$T_ARCH"
  expect_msiexec "per-user package uninstalls" /x "$T_USER_MSI"
  snapshot "removed-again-$T_ARCH"
  expect_same "after both uninstalls nothing of Plovera is left" "clean-$T_ARCH" "removed-again-$T_ARCH"
}

# The other add-in's keys are there to be left alone (per user and per
# machine) in the snapshot taken before installing.
expect_others() {
  local n
  n=$(grep -c 'Word\\Addins\\Other\.Connect|"LoadBehavior"=dword:00000002$' "$E2E_WORK/$1.reg")
  if [ "$n" -ge 2 ]; then e2e_pass "$T another add-in is registered beside"; else
    e2e_fail "$T another add-in is registered beside" "found $n add-in keys"; fi
}

expect_word_survives() {
  local what=$1 log
  if play "$here/unloadable.txt" "${T_ARCH}-$((++plays))"; then
    log="$E2E_WORK/logs/standin-${T_ARCH}-$plays.log"
    if grep -q 'add-in quennix.Connect not loaded' "$log"; then
      e2e_pass "$T $what: Word reports the add-in not loaded and runs on"
    else
      e2e_fail "$T $what: Word reports the add-in not loaded and runs on" "no load error in the log"
    fi
  else
    e2e_fail "$T $what: Word reports the add-in not loaded and runs on" "the stand-in failed"
  fi
}

# The 32-bit packages on 64-bit Windows (WOW64): installed, loaded by a
# 32-bit Word, removed.
wow64_cycle() {
  snapshot "clean-$T_ARCH"
  expect_others "clean-$T_ARCH"
  expect_msiexec "per-machine package installs silently" /i "$T_MACHINE_MSI"
  snapshot "machine-$T_ARCH"
  check_machine_install "machine-$T_ARCH"
  expect_bar "32-bit Word loads the installed add-in and shows the bar"
  expect_msiexec "per-machine package uninstalls" /x "$T_MACHINE_MSI"
  snapshot "removed-$T_ARCH"
  expect_same "uninstall leaves nothing of Plovera and touches nothing else" \
    "clean-$T_ARCH" "removed-$T_ARCH"

  expect_msiexec "per-user package installs silently" /i "$T_USER_MSI"
  snapshot "user-$T_ARCH"
  check_user_install "user-$T_ARCH"
  expect_bar "32-bit Word loads the add-in installed per user"
  expect_msiexec "per-user package uninstalls" /x "$T_USER_MSI"
  snapshot "removed-again-$T_ARCH"
  expect_same "per-user uninstall leaves nothing of Plovera" "clean-$T_ARCH" "removed-again-$T_ARCH"
}

# Both per-user packages of one user on 64-bit Windows: each DLL in its own
# folder and of its own bitness, neither touching the other's file; either
# uninstalled first leaves the other's file and the keys they share; both
# gone, nothing is left.
#
# Which registration each bitness of Word reads is not checked here: Wine
# keeps one HKCU\Software\Classes\CLSID for both bitnesses, where Windows 7
# and later give 32-bit programs their own (Classes\Wow6432Node\CLSID), so
# under Wine the package installed last names its DLL for both.
side_by_side_cycle() {
  local x64_msi="$dist/plovera-$version-x64-peruser.msi" x86_msi="$dist/plovera-$version-x86-peruser.msi"
  local x64_dll="$LOCAL_APPDATA\\Programs\\Plovera\\x64\\plovera.dll"
  local x86_dll="$LOCAL_APPDATA\\Programs\\Plovera\\x86\\plovera.dll"
  T="x64 and x86 per user on $E2E_ARCH:"
  snapshot clean-both
  for order in x86-first x64-first; do
    expect_msiexec "x64 per-user package installs" /i "$x64_msi"
    expect_msiexec "x86 per-user package installs beside it" /i "$x86_msi"
    snapshot "side-by-side-$order"
    e2e_check "$T the x64 folder holds a 64-bit DLL" test "$(e2e_pe_arch "$(winepath -u "$x64_dll")")" = win64
    e2e_check "$T the x86 folder holds a 32-bit DLL" test "$(e2e_pe_arch "$(winepath -u "$x86_dll")")" = win32
    e2e_check "$T the x64 DLL is the released one" cmp "$dist/plovera-$version-x64.dll" "$(winepath -u "$x64_dll")"
    e2e_check "$T the x86 DLL is the released one" cmp "$dist/plovera-$version-x86.dll" "$(winepath -u "$x86_dll")"
    local first=x86 second=x64 kept=$x64_dll
    [ "$order" = x64-first ] && first=x64 second=x86 kept=$x86_dll
    expect_msiexec "$first per-user package uninstalls first" /x "$dist/plovera-$version-$first-peruser.msi"
    e2e_check "$T the $second DLL stays" cmp "$dist/plovera-$version-$second.dll" "$(winepath -u "$kept")"
    snapshot "side-by-side-one-left-$order"
    e2e_check "$T Word's add-in key and the ProgID stay for the $second package" grep -qE \
      '^HKCU\\Software\\Microsoft\\Office\\Word\\Addins\\quennix\.Connect\|"LoadBehavior"=dword:00000003$' \
      "$E2E_WORK/side-by-side-one-left-$order.reg"
    e2e_check "$T the ProgID stays for the $second package" grep -qE \
      '^HKCU\\Software\\Classes\\quennix\.Connect\\CLSID\|@=' "$E2E_WORK/side-by-side-one-left-$order.reg"
    expect_msiexec "$second per-user package uninstalls" /x "$dist/plovera-$version-$second-peruser.msi"
    snapshot "side-by-side-removed-$order"
    expect_same "uninstalled ($order), nothing of Plovera is left" clean-both "side-by-side-removed-$order"
  done
}

# Office's bitness as each package reads it: Click-to-Run's Platform, and
# Word's InstallRoot of MSI-installed Office in the 32- or 64-bit view (the
# test writes the keys). A package of the other bitness refuses and changes
# nothing; the right one installs; with no Office both install.
bitness_cycle() {
  local x64_msi="$dist/plovera-$version-x64-peruser.msi" x86_msi="$dist/plovera-$version-x86-peruser.msi"
  local c2r='HKLM\Software\Microsoft\Office\ClickToRun\Configuration'
  local root16='HKLM\Software\Microsoft\Office\16.0\Word\InstallRoot'
  local office view refused right
  T="Office's bitness on $E2E_ARCH:"
  for office in c2r-x86 c2r-x64 msi-x86 msi-x64; do
    case $office in
      c2r-*) quiet_reg add "$c2r" /v Platform /d "${office#c2r-}" /reg:64 ;;
      msi-x86) quiet_reg add "$root16" /v Path /d 'C:\Program Files (x86)\Microsoft Office\root\Office16\' /reg:32 ;;
      msi-x64) quiet_reg add "$root16" /v Path /d 'C:\Program Files\Microsoft Office\root\Office16\' /reg:64 ;;
    esac
    if [ "${office#*-}" = x86 ]; then refused=$x64_msi right=$x86_msi; else refused=$x86_msi right=$x64_msi; fi
    snapshot "office-$office"
    if msiexec_run /i "$refused"; then
      e2e_fail "$T $(basename "$refused") refuses with $office Office"
      msiexec_run /x "$refused"
    else
      e2e_pass "$T $(basename "$refused") refuses with $office Office"
      e2e_check "$T its message names $(basename "$right")" grep -qF "$(basename "$right")" \
        <(msiinfo export "$refused" LaunchCondition)
    fi
    snapshot "office-$office-refused"
    expect_same "the refusal changes nothing" "office-$office" "office-$office-refused"
    expect_msiexec "$(basename "$right") installs with $office Office" /i "$right"
    expect_msiexec "$(basename "$right") uninstalls" /x "$right"
    for view in /reg:64 /reg:32; do
      quiet_reg delete 'HKLM\Software\Microsoft\Office\ClickToRun' "$view"
      quiet_reg delete 'HKLM\Software\Microsoft\Office\16.0' "$view"
    done
  done
}

# ALLUSERS=1 given to a per-user package: its files and keys stay the
# user's, and it uninstalls cleanly. (Wine fixes the installation's context
# from the command line before any action runs, so it registers the product
# for the machine; the package empties ALLUSERS first thing, as Windows
# Installer lets a package do, which this test cannot show.) Settings › Apps
# gets the icon, the web site and the install folder.
allusers_cycle() {
  target x64 || return
  reference_entries
  snapshot "allusers-clean"
  expect_msiexec "the per-user package installs with ALLUSERS=1" /i "$T_USER_MSI" ALLUSERS=1
  snapshot "allusers"
  check_user_install allusers
  e2e_check "$T Settings › Apps shows its icon" grep -qE '"(ProductIcon|DisplayIcon)"=".*plovera\.ico"' \
    "$E2E_WORK/allusers.reg"
  e2e_check "$T and the publisher's web site" grep -qF '"URLInfoAbout"="https://' "$E2E_WORK/allusers.reg"
  e2e_check "$T the install folder is the x64 folder" \
    grep -qF "InstallLocation\"=\"$(sed 's/\\/\\\\/g' <<<"$T_USER_FOLDER")" "$E2E_WORK/allusers.reg"
  expect_msiexec "and uninstalls" /x "$T_USER_MSI"
  snapshot "allusers-removed"
  expect_same "leaving nothing" "allusers-clean" "allusers-removed"
}

e2e_start || { e2e_fail "$E2E_ARCH Wine prefix"; e2e_summary; exit 1; }
mkdir -p "$E2E_WORK/logs"
e2e_prepare_word "$build64/standin/standin.exe" || { e2e_fail "$E2E_ARCH prefix set up"; e2e_summary; exit 1; }
if [ "$E2E_ARCH" = win64 ]; then
  PROGRAM_FILES='C:\Program Files' PROGRAM_FILES_X86='C:\Program Files (x86)'
  LOCAL_APPDATA=$(with_timeout 60 wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')
  seed_others with-user-programs
  if target x64; then reference_entries; full_cycle; fi
  if target x86; then reference_entries; wow64_cycle; fi
  side_by_side_cycle
  bitness_cycle
  allusers_cycle
else
  # Folders with blanks and non-ASCII letters: Program Files where a
  # localized or redirected system has it, and the profile of a user whose
  # name has them. The user's Programs folder does not exist yet.
  PROGRAM_FILES='C:\Programme für Tëst' LOCAL_APPDATA='C:\users\José García\AppData\Local'
  quiet_reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v ProgramFilesDir /d "$PROGRAM_FILES"
  quiet_reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' \
    /v 'Local AppData' /t REG_EXPAND_SZ /d "$LOCAL_APPDATA"
  mkdir -p "$(winepath -u "$PROGRAM_FILES")" "$(winepath -u "$LOCAL_APPDATA")"
  seed_others
  if target x86; then reference_entries; full_cycle; fi
fi
if [ "${PLOVERA_KEEP_LOGS:-}" ]; then
  mkdir -p "$PLOVERA_KEEP_LOGS/$E2E_ARCH" && cp -r "$E2E_WORK/logs/." "$E2E_WORK"/*.reg "$E2E_WORK"/*.files \
    "$PLOVERA_KEEP_LOGS/$E2E_ARCH/" 2>/dev/null
fi
e2e_summary
